#include "app/QtOptions.h"

#include <algorithm>
#include <array>

namespace {

// Qt 6's options of QGuiApplication, QApplication and its X11 platform, as
// its documentation lists them. Qt takes "--style" as it takes "-style".
constexpr std::array<std::string_view, 14> kWithValue = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "session",  "display",            "geometry",      "style",  "stylesheet",      "name",        "title",
};
constexpr std::array<std::string_view, 5> kFlags = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
// Options Qt reads only as "-name=value".
constexpr std::array<std::string_view, 3> kJoinedValue = {"style", "stylesheet", "qmljsdebugger"};

bool oneOf(auto const& names, std::string_view name)
{
    return std::ranges::find(names, name) != names.end();
}

// "style" for "-style" and "--style"; empty for anything else.
std::string_view optionName(std::string_view argument)
{
    if (!argument.starts_with('-'))
        return {};
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    return argument;
}

} // namespace

int QtOptionLength(int argc, char** argv, int i)
{
    const std::string_view name = optionName(argv[i]);
    if (name.empty())
        return 0;
    if (oneOf(kFlags, name))
        return 1;
    if (const std::size_t equals = name.find('='); equals != std::string_view::npos)
        return oneOf(kJoinedValue, name.substr(0, equals)) && equals + 1 < name.size() ? 1 : 0;
    if (!oneOf(kWithValue, name))
        return 0;
    return i + 1 < argc ? 2 : -1;
}

std::optional<std::string_view> PlatformOption(int argc, char** argv)
{
    std::optional<std::string_view> platform;
    for (int i = 1; i < argc; ++i) {
        const int length = QtOptionLength(argc, argv, i);
        if (length == 2 && optionName(argv[i]) == "platform")
            platform = argv[i + 1];
        i += std::max(length, 1) - 1;
    }
    return platform;
}
