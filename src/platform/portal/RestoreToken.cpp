#include "platform/portal/RestoreToken.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace pontrel {

namespace {

constexpr std::size_t maxTokenLength = 1024;

std::filesystem::path tokenFile(PortalGrant grant) {
    const char* name = grant == PortalGrant::ScreenCast ? "portal-screencast-restore-token"
                                                        : "portal-restore-token";
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config == '/') {
        return std::filesystem::path(config) / "pontrel" / name;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        return {};
    }
    return std::filesystem::path(home) / ".config" / "pontrel" / name;
}

}  // namespace

std::string readRestoreToken(PortalGrant grant) {
    const std::filesystem::path file = tokenFile(grant);
    if (file.empty()) {
        return {};
    }
    // A token is a short identifier: a longer first line, from a damaged file, is none.
    char token[maxTokenLength + 1] = {};
    std::ifstream in(file);
    in.getline(token, sizeof token);
    return in.fail() ? std::string() : std::string(token);
}

void keepRestoreToken(PortalGrant grant, const std::string& token) {
    const std::filesystem::path file = tokenFile(grant);
    if (file.empty()) {
        return;
    }
    std::error_code error;
    if (token.empty()) {
        std::filesystem::remove(file, error);
        return;
    }
    std::filesystem::create_directories(file.parent_path(), error);
    // Written beside and renamed over, so that a crash leaves the old token or the new one; made
    // the user's alone before the token goes in.
    const std::filesystem::path temporary = file.string() + ".new";
    std::ofstream out(temporary, std::ios::trunc);
    std::filesystem::permissions(
        temporary, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, error);
    out << token << '\n';
    out.close();
    if (!out || error) {
        std::fprintf(stderr, "portal: the restore token could not be kept in %s\n", file.c_str());
        std::filesystem::remove(temporary, error);
        return;
    }
    std::filesystem::rename(temporary, file, error);
}

}  // namespace pontrel
