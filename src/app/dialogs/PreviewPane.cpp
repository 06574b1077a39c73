#include "app/dialogs/PreviewPane.h"

#include <QPainter>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

#include "app/dialogs/MessageBoxes.h"
#include "app/dialogs/PreviewDecode.h"
#include "app/dialogs/Texts.h"

namespace vellumo::app::dialogs {

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&watcher_, &QFutureWatcher<QImage>::finished, this, &PreviewPane::OnDecoded);
}

PreviewPane::~PreviewPane() {
    // A decode still running finishes on its own; it holds no reference to the pane.
    watcher_.disconnect(this);
}

void PreviewPane::ShowPreview(const photolist::PhotoEntry& entry) {
    ShowPreview(entry.path, entry.frameDimension, entry.frameIndex);
}

void PreviewPane::ShowPreview(const std::string& path, imaging::FrameDimension dimension,
                              int32_t frameIndex) {
    // The previous picture goes first, as a new one replaces it.
    picture_ = QImage();
    update();
    const qreal ratio = devicePixelRatioF();
    const QSize target(std::max(1, static_cast<int>(width() * ratio)),
                       std::max(1, static_cast<int>(height() * ratio)));
    Request request{path, dimension, frameIndex, target};
    if (running_) {
        pending_ = std::move(request);
        return;
    }
    Start(request);
}

void PreviewPane::ReleasePreview() {
    pending_.reset();
    picture_ = QImage();
    // A decode under way is now stale; its result is dropped when it arrives.
    dropRunning_ = running_;
    update();
}

void PreviewPane::Start(const Request& request) {
    running_ = true;
    dropRunning_ = false;
    watcher_.setFuture(QtConcurrent::run(DecodePreviewFrame, request.path, request.dimension,
                                         request.frameIndex, request.target));
}

void PreviewPane::OnDecoded() {
    running_ = false;
    if (pending_) {
        // A newer click came in meanwhile: only its frame is worth showing.
        const Request next = std::move(*pending_);
        pending_.reset();
        Start(next);
        return;
    }
    if (dropRunning_) {
        dropRunning_ = false;
        return;
    }
    QImage decoded = watcher_.result();
    if (decoded.isNull()) {
        update();
        ShowMessage(window(), texts::TrUtf8(texts::kCanNotActiveFrame),
                    texts::TrUtf8(texts::kError), ui::MessageStyle::Error);
        emit previewFailed();
        return;
    }
    decoded.setDevicePixelRatio(devicePixelRatioF());
    picture_ = std::move(decoded);
    update();
    emit previewShown();
}

void PreviewPane::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (!picture_.isNull() && !rect().isEmpty()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), picture_);
    }
}

}  // namespace vellumo::app::dialogs
