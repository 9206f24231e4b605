// The widgets behind windows: a top-level window that shows its backing
// image, a dialog that leaves its buttons to the mouse, and the dialog's push
// button.
#pragma once

#include "src/platform/api/user32.h"

#include <QImage>
#include <QPushButton>
#include <QWidget>

namespace zor::host {

// A top-level window of a registered class. Its procedure paints through GDI
// into the backing image, which the paint event shows. When the window needs
// erasing (it was shown, or resized with CS_HREDRAW/CS_VREDRAW), the paint
// event first delivers WM_ERASEBKGND and WM_PAINT to the procedure. A close
// request (the title bar's close button, QWidget::close()) is posted to the
// procedure as WM_CLOSE and does not close the window by itself.
class TopLevelWidget : public QWidget {
  public:
    TopLevelWidget(HWND handle, QWidget *owner, Qt::WindowFlags flags, QColor background, bool redrawOnResize);

    // The image at the window's current size, made or resized when first
    // asked for after a change of size: what a smaller size cut off is gone,
    // what a larger one added is the background colour.
    QImage &Backing();
    // Marks the whole window for erasing and asks for a paint event.
    void Invalidate();
    // Erases the window now when it needs it: WM_ERASEBKGND, then WM_PAINT,
    // reach the procedure before this returns. The paint event does this
    // before it shows the image.
    void EraseIfNeeded();
    bool InOwnEvent() const { return inPaint_; }

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

  private:
    HWND handle_;
    QImage backing_;
    // The part of backing_ that survived every resize since it was last
    // brought to the window's size; the rest is background when it is.
    QSize kept_;
    // The size at the last resize, to tell growing from shrinking.
    QSize lastSize_;
    QColor background_;
    bool redrawOnResize_;
    bool needsErase_ = true;
    bool inPaint_ = false;
};

// A dialog: a plain widget, not a QDialog, so no key ends it or presses its
// buttons; Tab does not move the focus either (there is no dialog keyboard
// handling in the program's loop). A close request is posted as WM_CLOSE.
class DialogWidget : public QWidget {
  public:
    DialogWidget(HWND handle, QWidget *owner, Qt::WindowFlags flags);

  protected:
    void closeEvent(QCloseEvent *event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    HWND handle_;
};

// A push button that Enter does not press: the default button's frame is
// shown, but only the mouse and the space bar click.
class DialogButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace zor::host
