#include "host_widgets.h"

#include "host_state.h"
#include "image_memory.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPaintEvent>
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
    // The image is made at the first paint, at the size the window has then.
    lastSize_ = size();
    kept_ = QSize(0, 0);
}

QImage &TopLevelWidget::Backing()
{
    if (backing_.size() == size() && kept_ == size())
        return backing_;
    QImage resized = MakeWindowImage(size(), QImage::Format_RGB32);
    resized.fill(background_);
    QSize keep = kept_.boundedTo(backing_.size()).boundedTo(size());
    if (!keep.isEmpty()) {
        QPainter painter(&resized);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), backing_, QRect(QPoint(0, 0), keep));
    }
    backing_ = std::move(resized);
    kept_ = size();
    return backing_;
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

void TopLevelWidget::paintEvent(QPaintEvent *event)
{
    EraseIfNeeded();
    const QImage &image = Backing();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    QRect exposed = event->rect();
    painter.drawImage(exposed.topLeft(), image, exposed);
}

void TopLevelWidget::resizeEvent(QResizeEvent *)
{
    // Only notes the change: the image follows when it is next needed.
    if (lastSize_ == size())
        return;
    bool grew = width() > lastSize_.width() || height() > lastSize_.height();
    lastSize_ = size();
    kept_ = kept_.boundedTo(size());
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
