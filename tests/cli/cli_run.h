// Running plakett-render from the tests: a fresh folder per case, the exit code, both output
// streams, and the pictures it wrote.
#pragma once

#include "document/project_file.h"
#include "image/image.h"
#include "image/rgba_image.h"

#include <filesystem>
#include <string>
#include <vector>

namespace plakett::clitest {

namespace fs = std::filesystem;

// Removed with everything in it when the test ends.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return m_path; }
    fs::path operator/(const std::string& name) const { return m_path / name; }

  private:
    fs::path m_path;
};

struct RunResult {
    int exitCode = -1; // -1 when the process did not exit normally (a crash)
    std::string out;
    std::string err;
    long peakKb = 0;       // the child's maximum resident set size
    bool timedOut = false; // killed after the time limit
};

// How a run is bounded and whom it runs as.
struct RunLimits {
    int memoryLimitMb = 0; // address space; 0: none
    int seconds = 0;       // killed after this; 0: no limit
    bool unprivileged = false; // as nobody, for whom permissions hold as for any user
};

// Runs the renderer with `args` (no shell involved). `unsetEnv` names variables the child
// must not see.
RunResult runRender(const std::vector<std::string>& args,
                    const std::vector<std::string>& unsetEnv = {});
// Any program, command[0] a path, with the environment runRender gives.
RunResult runProgram(const std::vector<std::string>& command);
// The same with the child's address space limited, for inputs that might ask for too much.
RunResult runRenderLimited(const std::vector<std::string>& args, int memoryLimitMb);

RunResult runRenderBounded(const std::vector<std::string>& args, const RunLimits& limits);

// File names (not paths) in a folder, sorted; hidden and temporary files included.
std::vector<std::string> folderEntries(const fs::path& folder);

std::vector<std::uint8_t> fileBytes(const fs::path& path);
void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes);
void writeText(const fs::path& path, const std::string& text);

Rgba8Image decodePng(const std::vector<std::uint8_t>& bytes);

// Shipped shapes and test inputs.
fs::path shippedShape(const std::string& relative); // e.g. "Buttons/Pill.shp"
fs::path testData(const std::string& relative);

// A project of the pill shape with every setting at its default: renders like the shape.
ProjectDocument pillProject();

// Largest difference of any channel of any pixel; INT_MAX when the sizes differ.
int maxChannelDifference(const Bgr24Image& a, const Bgr24Image& b);

} // namespace plakett::clitest
