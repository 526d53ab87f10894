// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "surface/dispatch_table.h"

#include <algorithm>
#include <cmath>

#include "services/leading_number.h"

namespace kxsim {

const char16_t* variantTypeName(Variant::Type type) {
    switch (type) {
    case Variant::Type::Empty: return u"Empty";
    case Variant::Type::Integer: return u"Integer";
    case Variant::Type::Long: return u"Long";
    case Variant::Type::Boolean: return u"Boolean";
    case Variant::Type::String: return u"String";
    case Variant::Type::Object: return u"Object";
    }
    return u"Empty";
}

}  // namespace kxsim

namespace kxsim::surface {
namespace {

char16_t lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool sameName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

bool isDigit(char16_t c, int base) {
    if (base == 16) return (c >= u'0' && c <= u'9') || (lower(c) >= u'a' && lower(c) <= u'f');
    if (base == 8) return c >= u'0' && c <= u'7';
    return c >= u'0' && c <= u'9';
}

// True when \a text, blanks around it aside, is one number: a decimal with an
// optional sign, fraction and exponent, or &H / &O digits.
bool isWholeNumber(std::u16string_view text) {
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    size_t i = 0;
    auto digits = [&](int base) {
        const size_t from = i;
        while (i < text.size() && isDigit(text[i], base)) ++i;
        return i - from;
    };
    if (text.size() >= 2 && text[0] == u'&' && (lower(text[1]) == u'h' || lower(text[1]) == u'o')) {
        i = 2;
        return digits(lower(text[1]) == u'h' ? 16 : 8) > 0 && i == text.size();
    }
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    size_t mantissa = digits(10);
    if (i < text.size() && text[i] == u'.') {
        ++i;
        mantissa += digits(10);
    }
    if (mantissa == 0) return false;
    if (i < text.size() && (lower(text[i]) == u'e' || lower(text[i]) == u'd')) {
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
        if (digits(10) == 0) return false;
    }
    return i == text.size();
}

int32_t numberOf(const Variant& from, int32_t& to) {
    switch (from.type()) {
    case Variant::Type::Empty: to = 0; return 0;
    case Variant::Type::Integer:
    case Variant::Type::Long:
    case Variant::Type::Boolean: to = from.number(); return 0;
    case Variant::Type::String: {
        if (!isWholeNumber(from.text())) return errors::TypeMismatch;
        const auto value = services::LongOfText(from.text());
        if (!value) return errors::Overflow;
        to = *value;
        return 0;
    }
    case Variant::Type::Object: break;
    }
    return errors::TypeMismatch;
}

std::u16string ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::u16string qualified(std::u16string_view className, std::u16string_view member) {
    std::u16string out(className);
    out += u'.';
    out += member;
    return out;
}

Status notSupported(const std::u16string& detail) {
    return Status::error(errors::NotSupported, Status::standardDescription(errors::NotSupported) + u": " + detail);
}

bool accepts(MemberKind kind, uint16_t flags) {
    switch (kind) {
    case MemberKind::Function: return flags & (dispatch::Method | dispatch::PropertyGet);
    case MemberKind::Procedure: return flags & dispatch::Method;
    case MemberKind::PropertyGet: return flags & dispatch::PropertyGet;
    case MemberKind::PropertyPut: return flags & dispatch::PropertyPut;
    case MemberKind::PropertyPutRef: return flags & dispatch::PropertyPutRef;
    }
    return false;
}

}  // namespace

int32_t coerce(const Variant& from, int32_t& to) { return numberOf(from, to); }

int32_t coerce(const Variant& from, int16_t& to) {
    int32_t wide = 0;
    if (from.type() == Variant::Type::String) {
        if (!isWholeNumber(from.text())) return errors::TypeMismatch;
        const auto value = services::ToInteger(services::LeadingNumber(from.text()));
        if (!value) return errors::Overflow;
        to = *value;
        return 0;
    }
    if (int32_t e = numberOf(from, wide)) return e;
    if (wide < INT16_MIN || wide > INT16_MAX) return errors::Overflow;
    to = static_cast<int16_t>(wide);
    return 0;
}

int32_t coerce(const Variant& from, Boolean& to) {
    if (from.type() == Variant::Type::String) {
        if (sameName(from.text(), u"True") || sameName(from.text(), u"False")) {
            to = sameName(from.text(), u"True") ? Boolean::True : Boolean::False;
            return 0;
        }
        if (!isWholeNumber(from.text())) return errors::TypeMismatch;
        to = services::LeadingNumber(from.text()) != 0 ? Boolean::True : Boolean::False;
        return 0;
    }
    int32_t number = 0;
    if (int32_t e = numberOf(from, number)) return e;
    to = number ? Boolean::True : Boolean::False;
    return 0;
}

int32_t coerce(const Variant& from, std::u16string& to) {
    switch (from.type()) {
    case Variant::Type::Empty: to.clear(); return 0;
    case Variant::Type::Integer:
    case Variant::Type::Long: to = ascii(std::to_string(from.number())); return 0;
    case Variant::Type::Boolean: to = from.number() ? u"True" : u"False"; return 0;
    case Variant::Type::String: to = from.text(); return 0;
    case Variant::Type::Object: break;
    }
    return errors::TypeMismatch;
}

int32_t coerce(const Variant& from, Picture& to) {
    if (from.isEmpty() || (from.type() == Variant::Type::Object && !from.object())) {
        to = Picture();
        return 0;
    }
    if (from.type() != Variant::Type::String) return errors::TypeMismatch;
    to = Picture::fromFile(from.text());
    return 0;
}

int32_t coerce(const Variant& from, std::shared_ptr<IDispatchable>& to) {
    if (from.isEmpty()) {
        to.reset();
        return 0;
    }
    if (from.type() != Variant::Type::Object) return errors::TypeMismatch;
    to = from.object();
    return 0;
}

Status DispatchTableBase::idOfName(std::u16string_view name, DispId& id) const {
    for (const MemberInfo& m : members_)
        if (sameName(m.name, name)) {
            id = m.id;
            return {};
        }
    return notSupported(qualified(className_, name));
}

Status DispatchTableBase::findRow(DispId id, uint16_t flags, size_t argCount, size_t& row) const {
    const MemberInfo* named = nullptr;
    bool writeOnly = true;
    for (size_t i = 0; i < members_.size(); ++i) {
        const MemberInfo& m = members_[i];
        if (m.id != id) continue;
        named = &m;
        writeOnly = writeOnly && (m.kind == MemberKind::PropertyPut || m.kind == MemberKind::PropertyPutRef);
        if (!accepts(m.kind, flags)) continue;
        if (m.params.size() != argCount) {
            const size_t n = m.params.size();
            return Status::error(errors::WrongArgCount,
                                 Status::standardDescription(errors::WrongArgCount) + u": " +
                                     qualified(className_, m.name) + u" takes " + ascii(std::to_string(n)) +
                                     (n == 1 ? u" argument, not " : u" arguments, not ") +
                                     ascii(std::to_string(argCount)));
        }
        row = i;
        return {};
    }
    if (!named)
        return notSupported(std::u16string(className_) + u" has no member with dispatch identifier " +
                            ascii(std::to_string(id)));
    return notSupported(qualified(className_, named->name) +
                        (writeOnly ? u" can only be assigned" : u" cannot be invoked that way"));
}

Status DispatchTableBase::argumentError(int32_t number, std::u16string_view className, const MemberInfo& member,
                                        size_t index) {
    std::u16string text = Status::standardDescription(number) + u": argument " + ascii(std::to_string(index + 1));
    if (index < member.params.size() && !member.params[index].name.empty())
        text += u" (" + std::u16string(member.params[index].name) + u")";
    return Status::error(number, text + u" of " + qualified(className, member.name));
}

}  // namespace kxsim::surface
