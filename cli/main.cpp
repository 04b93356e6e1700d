#include "cli_options.h"
#include "render_job.h"

#include "common/heap_tuning.h"
#include "common/version.h"

#include <exception>
#include <iostream>
#include <new>

int main(int argc, char** argv) {
    using namespace plakett::cli;
    plakett::keepLargeBlocksInHeap();
    try {
        const CliOptions options = parseCliOptions({argv + 1, argv + argc});
        if (options.version || options.help) {
            if (options.version)
                std::cout << "plakett-render " << plakett::versionString() << "\n";
            else
                std::cout << usageText();
            // A full disk or a closed pipe is an error like any other.
            if (std::cout.flush()) return 0;
            std::cerr << "plakett-render: cannot write to standard output\n";
            return 1;
        }
        runRenderJob(options, std::cerr);
        return 0;
    } catch (const std::bad_alloc&) {
        std::cerr << "plakett-render: not enough memory for this design\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "plakett-render: " << e.what() << "\n";
        return 1;
    }
}
