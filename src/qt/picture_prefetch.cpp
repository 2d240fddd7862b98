#include "qt/picture_prefetch.h"

#include "skin/pictures.h"

namespace qtui {

QImage decodeImage(const std::string& name) {
    // Decoded straight into the image and premultiplied in place: one copy of the pixels.
    QImage img;
    const bool decoded = skin::decodePictureInto(name, [&img](int width, int height) {
        img = QImage(width, height, QImage::Format_RGBA8888);
        return std::span<std::uint8_t>(img.bits(), static_cast<std::size_t>(img.sizeInBytes()));
    });
    if (!decoded) return {};
    img.convertTo(QImage::Format_ARGB32_Premultiplied);
    return img;
}

std::vector<std::future<std::map<std::string, QImage>>>& PicturePrefetch::pending() {
    static std::vector<std::future<std::map<std::string, QImage>>> futures;
    return futures;
}

std::map<std::string, QImage>& PicturePrefetch::ready() {
    static std::map<std::string, QImage> images;
    return images;
}

void PicturePrefetch::start(std::vector<std::string> names) {
    // QImage, unlike QPixmap, may be made on any thread.
    pending().push_back(std::async(std::launch::async, [names = std::move(names)] {
        std::map<std::string, QImage> images;
        for (const std::string& name : names) images.emplace(name, decodeImage(name));
        return images;
    }));
}

void PicturePrefetch::collect() {
    for (auto& future : pending()) ready().merge(future.get());
    pending().clear();
}

std::optional<QImage> PicturePrefetch::take(const std::string& name) {
    collect();
    const auto it = ready().find(name);
    if (it == ready().end() || it->second.isNull()) return std::nullopt;
    QImage img = std::move(it->second);
    ready().erase(it);
    return img;
}

void PicturePrefetch::discard() {
    collect();
    ready().clear();
}

}  // namespace qtui
