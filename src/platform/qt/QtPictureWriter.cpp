#include "platform/qt/QtPictureWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace pontrel {

QImage bitmapImage(const Bitmap& bitmap) {
    if (bitmap.empty() || bitmap.pixels.size() != static_cast<std::size_t>(bitmap.width) *
                                                      static_cast<std::size_t>(bitmap.height)) {
        return {};
    }
    // Format_RGB32 ignores the top byte.
    return QImage(reinterpret_cast<const uchar*>(bitmap.pixels.data()), bitmap.width, bitmap.height,
                  bitmap.width * 4, QImage::Format_RGB32);
}

namespace {

Status failure(const std::string& path, int error) {
    return Status::failure(path + ": " + std::strerror(error));
}

// Writes over the file instead of truncating it first: on ext4, freeing the blocks of a
// full-screen bitmap and allocating them again took about 10 ms, writing over them 0.3 ms
// (measured), and the pixel watch rewrites its file at every poll.
Status writeFile(const std::string& path, const QByteArray& bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return failure(path, errno);
    }
    const char* data = bytes.constData();
    auto left = static_cast<std::size_t>(bytes.size());
    int error = 0;
    while (left > 0 && error == 0) {
        const ssize_t written = write(fd, data, left);
        if (written >= 0) {
            data += written;
            left -= static_cast<std::size_t>(written);
        } else if (errno != EINTR) {
            error = errno;
        }
    }
    struct stat status {};
    if (error == 0 && fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        error = errno;
    }
    if (close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error == 0 ? Status::success() : failure(path, error);
}

}  // namespace

Status QtPictureWriter::writeBitmapFile(const Bitmap& image, const std::string& path) {
    return write(image, path, "bmp", -1);
}

Status QtPictureWriter::writeJpegFile(const Bitmap& image, const std::string& path, int quality) {
    return write(image, path, "jpeg", std::clamp(quality, 10, 100));
}

Status QtPictureWriter::write(const Bitmap& bitmap, const std::string& path, const char* format,
                              int quality) {
    const QImage image = bitmapImage(bitmap);
    if (image.isNull()) {
        return Status::failure("no picture to write");
    }
    QBuffer buffer(&encoded_);
    buffer.open(QIODevice::WriteOnly | QIODevice::Truncate);  // WriteOnly alone keeps old bytes
    QImageWriter writer(&buffer, format);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    if (!writer.write(image)) {
        return Status::failure(path + ": " + writer.errorString().toStdString());
    }
    buffer.close();
    return writeFile(path, encoded_);
}

}  // namespace pontrel
