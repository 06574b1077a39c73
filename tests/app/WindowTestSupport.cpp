#include "WindowTestSupport.h"

#include <tiffio.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "support/TiffPages.h"

namespace vellumo::test {

void EnsureApplication() {
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "vellumo_window_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

bool WritePhoto(const std::string& path, QSize size, const char* format) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(40, 120, 200));
    return image.save(QString::fromStdString(path), format);
}

bool WriteMultiPageTiff(const std::string& path, const std::vector<QSize>& pages) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (tiff == nullptr) {
        return false;
    }
    bool ok = true;
    for (const QSize& page : pages) {
        const auto width = static_cast<uint32_t>(page.width());
        const auto height = static_cast<uint32_t>(page.height());
        ok = ok && TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width) == 1 &&
             TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height) == 1 &&
             TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3) == 1 &&
             TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8) == 1 &&
             TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) == 1 &&
             TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) == 1 &&
             TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 1) == 1 &&
             TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE) == 1;
        std::vector<uint8_t> row(width * 3, 128);
        for (uint32_t y = 0; ok && y < height; ++y) {
            ok = TIFFWriteScanline(tiff, row.data(), y, 0) == 1;
        }
        ok = ok && TIFFWriteDirectory(tiff) == 1;
    }
    TIFFClose(tiff);
    return ok;
}

std::vector<QSize> TiffPageSizes(const std::string& path) {
    std::vector<QSize> sizes;
    for (const TiffPage& page : ReadTiffPages(path)) {
        sizes.emplace_back(page.width, page.height);
    }
    return sizes;
}

void WindowTest::SetUp() {
    EnsureApplication();
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
}

void WindowTest::TearDown() {
    if (window_) {
        window_->WaitUntilIdle();
        window_.reset();
    }
}

std::string WindowTest::Temp() const {
    return QDir::toNativeSeparators(dir_->path()).toStdString() + "/";
}

void WindowTest::MakeWindow() {
    app::MainWindowServices services;
    const std::string pictures = Temp() + "Pictures";
    services.picturesFolder = [pictures] { return std::optional<std::string>(pictures); };
    services.folderFallback = Temp();
    services.interaction.openFiles = [this](QWidget*, const app::OpenFilesRequest& request) {
        openRequests_.push_back(request);
        return std::exchange(nextOpenFiles_, {});
    };
    services.interaction.saveFile = [this](QWidget*, const app::SaveFileRequest& request) {
        saveRequests_.push_back(request);
        return std::exchange(nextSaveFile_, std::nullopt);
    };
    services.interaction.chooseFolder = [this](QWidget*, const QString& title) {
        folderTitles_.push_back(title);
        return std::exchange(nextFolder_, std::nullopt);
    };
    services.messageBox = [this](QWidget*, const QString& text, const QString& caption,
                                 ui::MessageStyle style) {
        messages_.push_back({text.toStdString(), caption.toStdString(), style});
        if (ui::IsNotice(style)) {
            return ui::Answer::Ok;
        }
        if (answers_.empty()) {
            return ui::Answer::Yes;
        }
        const ui::Answer answer = answers_.front();
        answers_.pop_front();
        return answer;
    };
    services.dialogs = dialogs_;
    window_ = std::make_unique<app::MainWindow>(store_, std::move(services));
}

void WindowTest::UseDialogs(app::WindowDialogs dialogs) {
    const bool shown = window_ && window_->isVisible();
    window_.reset();
    dialogs_ = std::move(dialogs);
    MakeWindow();
    if (shown) {
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
}

std::string WindowTest::Photo(const std::string& name, QSize size, const char* format) {
    const std::string path = Temp() + name;
    EXPECT_TRUE(WritePhoto(path, size, format)) << path;
    return path;
}

void WindowTest::AddThroughDialog(const std::vector<std::string>& files) {
    nextOpenFiles_ = files;
    window_->AddPhotos();
    WaitIdle();
}

void WindowTest::AddNumberedPhotos(int count) {
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        files.push_back(Photo("p" + std::to_string(i) + ".png", QSize(100 + i, 50)));
    }
    AddThroughDialog(files);
    ASSERT_EQ(window_->photoList().size(), static_cast<size_t>(count));
}

std::vector<std::string> WindowTest::FileNames() const {
    std::vector<std::string> names;
    for (const auto& entry : window_->photoList()) {
        names.push_back(entry.fileName);
    }
    return names;
}

void WindowTest::WaitIdle() {
    if (window_->IsBusy()) {
        QSignalSpy idle(window_.get(), &app::MainWindow::becameIdle);
        ASSERT_TRUE(idle.wait(60000)) << "the window stayed busy";
    }
    ASSERT_FALSE(window_->IsBusy());
}

std::vector<std::string> WindowTest::MessageTexts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& m : messages_) {
        texts.push_back(m.text);
    }
    return texts;
}

}  // namespace vellumo::test
