#pragma once
// The preview pane: an area in the theme's view colour that shows the frame of the photo last
// clicked in the list, stretched to the pane. The frame is decoded on a worker thread at about the
// pane's size, so a large photo does not stop the window; until it arrives the pane is empty. The
// picture stays through repaints and through changes to the list, until another photo is shown or
// the pane is released.

#include <QFutureWatcher>
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

#include "imaging/FrameDimension.h"
#include "photolist/PhotoEntry.h"

namespace vellumo::app::dialogs {

class PreviewPane : public QWidget {
    Q_OBJECT

  public:
    explicit PreviewPane(QWidget* parent = nullptr);
    ~PreviewPane() override;

    // Shows `entry`'s frame of its file.
    void ShowPreview(const photolist::PhotoEntry& entry);
    // Shows frame `frameIndex` of `dimension` of the file at `path` (UTF-8).
    void ShowPreview(const std::string& path, imaging::FrameDimension dimension,
                     int32_t frameIndex);

    // Drops the picture (the pane turns empty); a decode under way is ignored.
    void ReleasePreview();

    bool hasPicture() const { return !picture_.isNull(); }
    bool isLoading() const { return running_ || pending_.has_value(); }
    // The picture as drawn, at the pane's size in device pixels.
    const QImage& picture() const { return picture_; }

  signals:
    // The requested frame is now shown.
    void previewShown();
    // The file or frame could not be loaded; "Can not Active a Frame" was shown.
    void previewFailed();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Request {
        std::string path;
        imaging::FrameDimension dimension = imaging::FrameDimension::None;
        int32_t frameIndex = 0;
        QSize target;
    };

    void Start(const Request& request);
    void OnDecoded();

    QFutureWatcher<QImage> watcher_;
    bool running_ = false;
    bool dropRunning_ = false;
    // The latest request made while another was decoding; older ones are dropped.
    std::optional<Request> pending_;
    QImage picture_;
};

}  // namespace vellumo::app::dialogs
