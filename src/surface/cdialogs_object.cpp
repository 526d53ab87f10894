#include "surface/cdialogs_object.h"

#include "platform/guarded.h"
#include "surface/dispatch_table.h"

namespace kxsim::surface {
namespace {

// The _CDialogs interface: one row per member, in member order; the dispatch
// identifier is the member's place in that order (1 to 7).
const DispatchTable<CDialogs>& table() {
    static const DispatchTable<CDialogs> t(
        u"CDialogs",
        {
            function<&CDialogs::CloneOptions>(1, u"CloneOptions", {}),
            function<&CDialogs::Converter>(2, u"Converter", {}),
            function<&CDialogs::Kartenleser>(3, u"Kartenleser", {u"Readers"}),
            propertyPut<&CDialogs::Language>(4, u"Language", {u"File"}),
            function<&CDialogs::MagnetOptions>(5, u"MagnetOptions", {}),
            function<&CDialogs::SelectMeter>(6, u"SelectMeter", {u"Acm", u"Amv", u"Ccu", u"Ppu", u"Icon"}),
            function<&CDialogs::SelectNetwork>(7, u"SelectNetwork", {u"Section", u"Keys", u"Max", u"InitFile",
                                                                    u"Caption", u"Icon", u"HelpId", u"Language"}),
        });
    return t;
}

}  // namespace

const ClassIdentity& CDialogsObject::identity() const { return kClasses[0]; }
const std::vector<MemberInfo>& CDialogsObject::members() const { return table().members(); }

Status CDialogsObject::GetIDsOfNames(std::u16string_view name, DispId& id) const {
    return platform::guarded([&] { return table().idOfName(name, id); });
}

Status CDialogsObject::Invoke(DispId id, uint16_t flags, std::vector<Variant>& args, Variant& result) {
    return platform::guarded([&] { return table().invoke(dialogs_, id, flags, args, result); });
}

}  // namespace kxsim::surface
