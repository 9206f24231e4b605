#include "host_widgets.h"

#include "host_state.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

namespace zor::host {

TopLevelWidget::TopLevelWidget(HWND handle, QWidget *owner, Qt::WindowFlags flags, QColor background,
                               bool redrawOnResize)
    : QWidget(owner, flags), handle_(handle), background_(background), redrawOnResize_(redrawOnResize)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    if (!redrawOnResize_)
        setAttribute(Qt::WA_StaticContents);
    backing_ = QImage(size(), QImage::Format_RGB32);
    backing_.fill(background_);
}

void TopLevelWidget::Invalidate()
{
    needsErase_ = true;
    update();
}

void TopLevelWidget::EraseIfNeeded()
{
    if (!needsErase_ || inPaint_)
        return;
    needsErase_ = false;
    HostState &state = State();
    HWND previous = state.painting;
    state.painting = handle_;
    inPaint_ = true;
    HDC dc = GetDC(handle_);
    Deliver(handle_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(handle_, dc);
    Deliver(handle_, WM_PAINT, 0, 0);
    inPaint_ = false;
    state.painting = previous;
}

void TopLevelWidget::paintEvent(QPaintEvent *)
{
    EraseIfNeeded();
    QPainter painter(this);
    painter.drawImage(0, 0, backing_);
}

void TopLevelWidget::resizeEvent(QResizeEvent *)
{
    if (backing_.size() == size())
        return;
    QImage resized(size(), QImage::Format_RGB32);
    resized.fill(background_);
    {
        QPainter painter(&resized);
        painter.drawImage(0, 0, backing_);
    }
    bool grew = width() > backing_.width() || height() > backing_.height();
    backing_ = std::move(resized);
    if (redrawOnResize_ || grew)
        needsErase_ = true;
}

void TopLevelWidget::showEvent(QShowEvent *)
{
    needsErase_ = true;
}

void TopLevelWidget::closeEvent(QCloseEvent *event)
{
    event->ignore();
    PostMessageA(handle_, WM_CLOSE, 0, 0);
}

DialogWidget::DialogWidget(HWND handle, QWidget *owner, Qt::WindowFlags flags) : QWidget(owner, flags), handle_(handle)
{
}

void DialogWidget::closeEvent(QCloseEvent *event)
{
    event->ignore();
    PostMessageA(handle_, WM_CLOSE, 0, 0);
}

bool DialogWidget::focusNextPrevChild(bool)
{
    return false;
}

void DialogButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace zor::host
