#include "tools/gen/Generator.h"
#include "tools/gen/Options.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    gen::GenOptions options;
    bool help = false;
    std::string error;
    if (!gen::parseOptions(args, options, help, error)) {
        std::fprintf(stderr, "quillon-gen: %s\n\n%s", error.c_str(), gen::usageText().c_str());
        return 2;
    }
    if (help) {
        std::fputs(gen::usageText().c_str(), stdout);
        return 0;
    }
    gen::GenResult result;
    if (!gen::generate(options, result, error)) {
        std::fprintf(stderr, "quillon-gen: %s\n", error.c_str());
        return 1;
    }
    for (const std::string& f : result.files)
        std::printf("%s\n", f.c_str());
    std::printf("%lld epochs, %d satellites, observation file %llu bytes\n",
                static_cast<long long>(result.epochs), result.satellitesSeen,
                static_cast<unsigned long long>(result.observationBytes));
    if (result.satellitesSeen > 60)
        std::fprintf(stderr,
                     "quillon-gen: note: %d satellites observed; the program's header record "
                     "keeps 60\n",
                     result.satellitesSeen);
    return 0;
}
