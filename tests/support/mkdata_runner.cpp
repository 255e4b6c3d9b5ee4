#include "support/mkdata_runner.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace vezer::testing {

MkdataRun RunMkdata(const std::string& step, const std::filesystem::path& assets, const std::filesystem::path& out) {
    std::filesystem::path log = out / "mkdata.log";
    std::filesystem::create_directories(out);
    std::string command = std::string("'") + VEZER_TEST_MKDATA + "' " + step + " --assets '" + assets.string() +
                          "' --out '" + out.string() + "' > '" + log.string() + "' 2>&1";
    int status = std::system(command.c_str());
    MkdataRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    run.output = text.str();
    return run;
}

const std::vector<std::string> kSourcesBesideTheCampaigns = {"map", "types", "generals"};

void CopyShippedSources(const std::filesystem::path& assets, const std::vector<std::string>& folders) {
    for (const std::string& f : folders) {
        std::filesystem::create_directories(assets / f);
        std::filesystem::copy(std::filesystem::path(VEZER_TEST_SOURCE_DIR) / "assets" / f, assets / f,
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    }
}

void WriteSource(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

} // namespace vezer::testing
