#include "platform_choice.h"

#include <algorithm>
#include <cctype>

namespace zor::host {
namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string NameOf(const std::string &candidate)
{
    return Lower(candidate.substr(0, candidate.find(':')));
}

} // namespace

std::vector<std::string> CandidatePlatforms(const PlatformEnvironment &environment)
{
    std::vector<std::string> candidates;
    if (!environment.qpaPlatform.empty()) {
        std::size_t start = 0;
        while (start <= environment.qpaPlatform.size()) {
            std::size_t end = environment.qpaPlatform.find(';', start);
            if (end == std::string::npos)
                end = environment.qpaPlatform.size();
            if (end > start)
                candidates.push_back(environment.qpaPlatform.substr(start, end - start));
            start = end + 1;
        }
        return candidates;
    }

    bool gnome = Lower(environment.currentDesktop).find("gnome") != std::string::npos ||
                 Lower(environment.sessionDesktop).find("gnome") != std::string::npos;
    if (environment.sessionType == "wayland" && !gnome) {
        candidates = {"wayland", "xcb"};
    } else {
        candidates = {"xcb"};
        if (environment.waylandDisplaySet)
            candidates.push_back("wayland");
    }
    return candidates;
}

PlatformChoice ChoosePlatform(const PlatformEnvironment &environment, const PlatformProbes &probes)
{
    PlatformChoice choice;
    std::string reasons;
    for (const std::string &candidate : CandidatePlatforms(environment)) {
        std::string name = NameOf(candidate);
        std::string problem = probes.plugin(name);
        if (problem.empty()) {
            if (name == "xcb")
                problem = probes.xServer();
            else if (name.rfind("wayland", 0) == 0)
                problem = probes.waylandCompositor();
        }
        if (problem.empty()) {
            choice.usable = true;
            choice.platform = candidate;
            return choice;
        }
        if (!reasons.empty())
            reasons += "; ";
        reasons += name + ": " + problem;
    }
    choice.reason = reasons.empty() ? "no windowing platform to try" : reasons;
    return choice;
}

} // namespace zor::host
