// Finds the caption module beside the program: the build folder and every installed tree
// (a prefix, the Debian package) keep it at the same place relative to the executable.
#include "caption_engine.h"
#include "caption_module.h"

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#ifndef PLAKETT_MODULE_DIR_FROM_BIN
#define PLAKETT_MODULE_DIR_FROM_BIN "../lib/plakett"
#endif

namespace plakett::cli {
namespace {

namespace fs = std::filesystem;

// Empty when the program cannot tell where its own file lies.
std::vector<fs::path> moduleCandidates() {
    std::vector<fs::path> out;
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (!error)
        out.push_back(exe.parent_path() / PLAKETT_MODULE_DIR_FROM_BIN /
                      PLAKETT_CAPTION_MODULE_FILE);
    return out;
}

using Entry = CaptionEngine* (*)();

// Loaded once and never unloaded: Qt keeps threads and handlers that outlive any engine.
Entry loadEntry() {
    std::string tried;
    for (const fs::path& candidate : moduleCandidates()) {
        std::error_code error;
        if (!fs::exists(candidate, error)) {
            tried += (tried.empty() ? "" : ", ") + candidate.lexically_normal().string();
            continue;
        }
        void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* why = dlerror();
            throw std::runtime_error("cannot load the caption module " + candidate.string() +
                                     ": " + (why ? why : "unknown error"));
        }
        if (void* entry = dlsym(handle, PLAKETT_CAPTION_MODULE_ENTRY))
            return reinterpret_cast<Entry>(entry);
        throw std::runtime_error("the caption module " + candidate.string() +
                                 " has no entry " PLAKETT_CAPTION_MODULE_ENTRY);
    }
    if (tried.empty())
        throw std::runtime_error("captions need the caption module " PLAKETT_CAPTION_MODULE_FILE
                                 ", but the program cannot tell the folder it lies in");
    throw std::runtime_error("captions need the caption module " PLAKETT_CAPTION_MODULE_FILE
                             ", which is not installed (looked for " +
                             tried + ")");
}

} // namespace

std::unique_ptr<CaptionEngine> startCaptionEngine() {
    static const Entry entry = loadEntry();
    std::unique_ptr<CaptionEngine> engine(entry());
    if (!engine) throw std::runtime_error("the font engine for captions could not start");
    return engine;
}

} // namespace plakett::cli
