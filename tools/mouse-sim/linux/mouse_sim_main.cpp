// quorvex-mouse-sim: the simulated mouse as a hidraw node in a FUSE mount, so that the real
// hidraw backend is exercised through the kernel's ioctl path.
#define FUSE_USE_VERSION 35
#include <fuse.h>
#include <linux/hidraw.h>
#include <linux/input.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "../sim_control.h"

namespace {

mousesim::Simulator* g_sim = nullptr;
constexpr const char* kControl = "/ctl";

const mousesim::Node* nodeOf(const char* path) {
    if (path[0] != '/') return nullptr;
    return g_sim->node(path + 1);
}

void* simInit(fuse_conn_info*, fuse_config* cfg) {
    // Plugging and unplugging must show at once: nothing may be cached by the kernel.
    cfg->entry_timeout = 0;
    cfg->attr_timeout = 0;
    cfg->negative_timeout = 0;
    cfg->direct_io = 1;
    return nullptr;
}

int simGetattr(const char* path, struct stat* st, fuse_file_info*) {
    std::memset(st, 0, sizeof(*st));
    if (std::strcmp(path, "/") == 0) {
        st->st_mode = S_IFDIR | 0755;
        st->st_nlink = 2;
        return 0;
    }
    if (std::strcmp(path, kControl) == 0) {
        st->st_mode = S_IFREG | 0666;
        st->st_nlink = 1;
        st->st_size = static_cast<off_t>(g_sim->status().size());
        return 0;
    }
    if (const mousesim::Node* n = nodeOf(path)) {
        st->st_mode = S_IFREG | (n->locked ? 0000 : 0666);
        st->st_nlink = 1;
        return 0;
    }
    return -ENOENT;
}

int simReaddir(const char* path, void* buf, fuse_fill_dir_t fill, off_t, fuse_file_info*,
               fuse_readdir_flags) {
    if (std::strcmp(path, "/") != 0) return -ENOENT;
    fill(buf, ".", nullptr, 0, FUSE_FILL_DIR_PLUS);
    fill(buf, "..", nullptr, 0, FUSE_FILL_DIR_PLUS);
    fill(buf, "ctl", nullptr, 0, FUSE_FILL_DIR_PLUS);
    for (const mousesim::Node& n : g_sim->nodes()) {
        if (g_sim->node(n.name)) fill(buf, n.name.c_str(), nullptr, 0, FUSE_FILL_DIR_PLUS);
    }
    return 0;
}

int simOpen(const char* path, fuse_file_info* fi) {
    if (std::strcmp(path, kControl) == 0) return 0;
    const mousesim::Node* n = nodeOf(path);
    if (!n) return -ENOENT;
    if (n->locked) return -EACCES;
    // The handle remembers the plug it was opened in: after an unplug it answers nothing, as a
    // hidraw file of a device that went away, even when the mouse is plugged back.
    const auto generation = n->firmware ? n->firmware->plugGeneration() : 0u;
    fi->fh = static_cast<std::uint64_t>(n - g_sim->nodes().data()) |
             static_cast<std::uint64_t>(generation) << 32;
    fi->nonseekable = 1;
    return 0;
}

int simRead(const char* path, char* buf, size_t size, off_t offset, fuse_file_info*) {
    if (std::strcmp(path, kControl) != 0) return 0;  // no input reports
    const std::string text = g_sim->status();
    if (offset < 0 || static_cast<size_t>(offset) >= text.size()) return 0;
    const size_t n = std::min(size, text.size() - static_cast<size_t>(offset));
    std::memcpy(buf, text.data() + offset, n);
    return static_cast<int>(n);
}

int simWrite(const char* path, const char* buf, size_t size, off_t, fuse_file_info*) {
    if (std::strcmp(path, kControl) != 0) return static_cast<int>(size);  // output reports: ignored
    std::string text(buf, size);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string error = g_sim->control(text.substr(start, end - start));
        if (!error.empty()) {
            std::fprintf(stderr, "quorvex-mouse-sim: %s\n", error.c_str());
            return -EINVAL;
        }
        start = end + 1;
    }
    return static_cast<int>(size);
}

int simTruncate(const char*, off_t, fuse_file_info*) {
    return 0;
}

int simIoctl(const char* path, unsigned int cmd, void*, fuse_file_info* fi, unsigned int flags,
             void* data) {
    if (flags & FUSE_IOCTL_COMPAT) return -ENOSYS;
    if (std::strcmp(path, kControl) == 0) return -ENOTTY;
    const std::uint64_t index = fi->fh & 0xFFFFFFFFu;
    if (index >= g_sim->nodes().size()) return -EBADF;
    const mousesim::Node& n = g_sim->nodes()[index];
    if (!g_sim->node(n.name)) return -ENODEV;  // unplugged while open: fail at once
    if (n.firmware && n.firmware->plugGeneration() != fi->fh >> 32) return -ENODEV;

    switch (cmd) {
        case HIDIOCGRDESCSIZE:
            *static_cast<int*>(data) = static_cast<int>(n.descriptor.size());
            return 0;
        case HIDIOCGRDESC: {
            auto* desc = static_cast<hidraw_report_descriptor*>(data);
            desc->size = static_cast<__u32>(n.descriptor.size());
            std::memcpy(desc->value, n.descriptor.data(), n.descriptor.size());
            return 0;
        }
        case HIDIOCGRAWINFO: {
            auto* info = static_cast<hidraw_devinfo*>(data);
            info->bustype = BUS_USB;
            info->vendor = static_cast<__s16>(n.vendorId);
            info->product = static_cast<__s16>(n.productId);
            return 0;
        }
        default:
            break;
    }
    if (_IOC_TYPE(cmd) != 'H') return -ENOTTY;
    const unsigned size = _IOC_SIZE(cmd);
    std::span<std::uint8_t> report(static_cast<std::uint8_t*>(data), size);
    if (_IOC_NR(cmd) == _IOC_NR(HIDIOCSFEATURE(0))) {
        if (!n.firmware || !n.firmware->setFeature(report)) return -EPIPE;
        return static_cast<int>(size);
    }
    if (_IOC_NR(cmd) == _IOC_NR(HIDIOCGFEATURE(0))) {
        if (!n.firmware || !n.firmware->getFeature(report)) return -EPIPE;
        return static_cast<int>(size);
    }
    return -ENOTTY;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& a : args) {
        if (a == "-h" || a == "--help") {
            std::fputs(mousesim::usage().c_str(), stdout);
            return 0;
        }
    }
    std::string error;
    const auto options = mousesim::parseOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "quorvex-mouse-sim: %s\n%s", error.c_str(), mousesim::usage().c_str());
        return 2;
    }
    mousesim::Simulator simulator(*options);
    g_sim = &simulator;

    fuse_operations ops{};
    ops.init = simInit;
    ops.getattr = simGetattr;
    ops.readdir = simReaddir;
    ops.open = simOpen;
    ops.read = simRead;
    ops.write = simWrite;
    ops.truncate = simTruncate;
    ops.ioctl = simIoctl;

    std::vector<std::string> fuseArgs{
        argv[0], "-f", "-s", "-o", "fsname=quorvex-mouse-sim", options->mountDir};
    std::vector<char*> fuseArgv;
    for (std::string& a : fuseArgs) fuseArgv.push_back(a.data());
    return fuse_main(static_cast<int>(fuseArgv.size()), fuseArgv.data(), &ops, nullptr);
}
