#pragma once
// Where a test puts the images it renders offscreen: the folder TALISO_SCREENSHOT_DIR
// names (kept, for people to look at), else a fresh temporary folder removed afterwards.
// Never the source tree or the build's bin folder.
#include <QImage>
#include <QString>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

class ScreenshotFolder {
public:
    explicit ScreenshotFolder(const std::string& name)
    {
        namespace fs = std::filesystem;
        if (const char* chosen = std::getenv("TALISO_SCREENSHOT_DIR"); chosen && *chosen) {
            m_path = fs::path(chosen) / name;
            m_keep = true;
        } else {
            m_path = fs::temp_directory_path() / ("taliso-" + name + "-" + std::to_string(::getpid()));
        }
        std::error_code error;
        fs::create_directories(m_path, error);
    }
    ~ScreenshotFolder()
    {
        std::error_code error;
        if (!m_keep) std::filesystem::remove_all(m_path, error);
    }
    ScreenshotFolder(const ScreenshotFolder&) = delete;
    ScreenshotFolder& operator=(const ScreenshotFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    bool Save(const QImage& image, const std::string& fileName) const
    {
        return image.save(QString::fromStdString((m_path / fileName).string()), "PNG");
    }

private:
    std::filesystem::path m_path;
    bool m_keep = false;
};
