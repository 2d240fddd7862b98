#pragma once
// Pictures decoded into premultiplied images on a worker thread while Qt starts up, so that the
// first paint finds the large ones ready instead of decoding them itself.
#include <QImage>

#include <future>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qtui {

class PicturePrefetch {
  public:
    // Starts decoding `names` on a thread of its own (beside what an earlier start still does).
    static void start(std::vector<std::string> names);
    // The prefetched image of `name` (waiting for the worker if it is still at it), once; nothing
    // for a picture that was not prefetched or could not be decoded.
    static std::optional<QImage> take(const std::string& name);
    // Waits for the worker and drops what it made. The worker converts through Qt's thread
    // pool, so it must end while the application still exists.
    static void discard();

  private:
    // Waits for every worker and keeps what they made.
    static void collect();
    static std::vector<std::future<std::map<std::string, QImage>>>& pending();
    static std::map<std::string, QImage>& ready();
};

// A picture of the program's resources as a premultiplied image; null when missing or damaged.
QImage decodeImage(const std::string& name);

}  // namespace qtui
