#pragma once
// Every CDialogs member that shows a form, called with arguments of its own,
// for tests that hold for each dialog alike.

#include <QStringList>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "kxsimlib/cdialogs.h"

namespace kxsim::test {

/// Every argument of one call joined by "|", as passed and as the call left them.
struct Arguments {
    std::u16string passed, returned;
};

struct MemberCall {
    const char* form;        ///< the window it shows
    const char* helpButton;  ///< its "?" button
    int32_t helpContext;     ///< the topic that button asks for
    /// Calls the member with arguments made from \a tag (SelectNetwork's caption, for one).
    std::function<Status(const std::u16string& tag, Arguments& arguments)> call;
};

template <class... T>
std::u16string joinArguments(const T&... values) {
    QStringList parts;
    auto add = [&](const auto& v) {
        if constexpr (std::is_integral_v<std::decay_t<decltype(v)>>) parts << QString::number(v);
        else parts << QString::fromStdU16String(v);
    };
    (add(values), ...);
    return parts.join(QLatin1Char('|')).toStdU16String();
}

/// Runs \a call and records \a values before and after it in \a arguments.
template <class Call, class... T>
Status recorded(Arguments& arguments, Call call, T&... values) {
    arguments.passed = joinArguments(values...);
    Status s = call();
    arguments.returned = joinArguments(values...);
    return s;
}

/// The members in a fixed order. SelectNetwork reads the networks of \a ini and
/// takes \a language as its language file (it sets the language itself).
inline std::vector<MemberCall> memberCalls(const std::u16string& ini = {}, const std::u16string& language = {}) {
    return {
        {"WCopysim", "CBAction(112)", 7108, [](const std::u16string&, Arguments& a) {
             int32_t result = -7;
             return recorded(a, [&] { return CDialogs().CloneOptions(result); }, result);
         }},
        {"WConvert", "CBAction(112)", 8100, [](const std::u16string& tag, Arguments& a) {
             std::u16string result = tag;
             return recorded(a, [&] { return CDialogs().Converter(result); }, result);
         }},
        {"WLeser", "BAction(112)", 8030, [](const std::u16string& tag, Arguments& a) {
             std::u16string readers = tag + u" reader", result = tag;
             return recorded(a, [&] { return CDialogs().Kartenleser(readers, result); }, readers, result);
         }},
        {"WMagnet", "Button(112)", 8040, [](const std::u16string& tag, Arguments& a) {
             std::u16string result = tag;
             return recorded(a, [&] { return CDialogs().MagnetOptions(result); }, result);
         }},
        {"WAcm", "CBAction(112)", 7105, [](const std::u16string& tag, Arguments& a) {
             std::u16string acm = tag == u"outer" ? u"120" : u"7", amv = u"500", ccu = tag, ppu = u"12";
             Picture icon;
             int32_t result = -7;
             return recorded(
                 a, [&] { return CDialogs().SelectMeter(acm, amv, ccu, ppu, icon, result); }, acm, amv, ccu, ppu,
                 result);
         }},
        {"WNetze", "CBAction(112)", 7120, [ini, language](const std::u16string& tag, Arguments& a) {
             std::u16string section = u"Networks", keys = tag == u"outer" ? u"26201;" : u"26202;", file = ini;
             std::u16string caption = tag, lang = language;
             int32_t max = 5, helpId = 7120, result = -7;
             Picture icon;
             return recorded(
                 a,
                 [&] {
                     return CDialogs().SelectNetwork(section, keys, max, file, caption, icon, helpId, lang, result);
                 },
                 section, keys, max, file, caption, helpId, lang, result);
         }},
    };
}

}  // namespace kxsim::test
