// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Call by name: an interface's dispatch table, built one row per member from
// the member function itself. A row names the member, its dispatch identifier,
// its kind and its parameter names; the parameter and result types, the
// conversion of the Variant arguments and the write-back of the by-reference
// ones follow from the member function's signature.
//
//   surface::function<&Commons::GetOSVersion>(4, u"GetOSVersion", {})
//   surface::procedure<&Commons::Delay>(3, u"Delay", {u"Millisecs"})

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "kxsimlib/component.h"
#include "kxsimlib/member_description.h"
#include "kxsimlib/picture.h"
#include "kxsimlib/status.h"
#include "kxsimlib/variant.h"

namespace kxsim::surface {

// Conversions of a Variant argument to a parameter's type: 0 on success, else
// errors::TypeMismatch or errors::Overflow. A String converts to a number when
// it holds one whole number ("12", " -3 ", "&H1F", "2.5" rounds to 2).
int32_t coerce(const Variant& from, int32_t& to);
int32_t coerce(const Variant& from, int16_t& to);
int32_t coerce(const Variant& from, Boolean& to);
int32_t coerce(const Variant& from, std::u16string& to);
int32_t coerce(const Variant& from, Picture& to);
int32_t coerce(const Variant& from, std::shared_ptr<IDispatchable>& to);

template <class T>
struct Param;

template <>
struct Param<int32_t> {
    static constexpr ParamType type = ParamType::Long;
    static Variant out(int32_t v) { return Variant::fromLong(v); }
};
template <>
struct Param<int16_t> {
    static constexpr ParamType type = ParamType::Integer;
    static Variant out(int16_t v) { return Variant::fromInteger(v); }
};
template <>
struct Param<Boolean> {
    static constexpr ParamType type = ParamType::Boolean;
    static Variant out(Boolean v) { return Variant::fromBoolean(v); }
};
template <>
struct Param<std::u16string> {
    static constexpr ParamType type = ParamType::String;
    static Variant out(std::u16string v) { return Variant::fromString(std::move(v)); }
};
template <>
struct Param<Variant> {
    static constexpr ParamType type = ParamType::Variant;  // a result only
    static Variant out(Variant v) { return v; }
};
// A picture is handed in only; the caller's argument is left as it was.
template <>
struct Param<Picture> {
    static constexpr ParamType type = ParamType::Picture;
};
// An object reference of the library's class T: Empty or Nothing is null, an
// object of another class does not convert.
template <class T>
struct Param<std::shared_ptr<T>> {
    static constexpr ParamType type = ParamType::Object;
    static Variant out(std::shared_ptr<T> v) { return Variant::fromObject(std::move(v)); }
};

template <class T>
int32_t coerce(const Variant& from, std::shared_ptr<T>& to) {
    std::shared_ptr<IDispatchable> object;
    if (int32_t e = coerce(from, object)) return e;
    to = std::dynamic_pointer_cast<T>(object);
    return object && !to ? errors::TypeMismatch : 0;
}

template <class T>
concept WrittenBack = requires(T v) { Param<T>::out(v); };

/// The rules every table shares: name lookup, the choice of the row for the
/// invocation flags, the argument count, and the texts of the failures.
class DispatchTableBase {
public:
    const std::vector<MemberInfo>& members() const { return members_; }
    Status idOfName(std::u16string_view name, DispId& id) const;

    /// Failure texts, also used by the rows.
    static Status argumentError(int32_t number, std::u16string_view className, const MemberInfo& member,
                                size_t index);

protected:
    DispatchTableBase(std::u16string_view className, std::vector<MemberInfo> members)
        : className_(className), members_(std::move(members)) {}
    /// The row for \a id invoked as \a flags with \a argCount arguments, or a failure.
    Status findRow(DispId id, uint16_t flags, size_t argCount, size_t& row) const;

    std::u16string_view className_;
    std::vector<MemberInfo> members_;
};

template <class T>
struct DispatchRow {
    MemberInfo info;
    std::function<Status(T&, std::vector<Variant>&, Variant&, std::u16string_view className, const MemberInfo&)> call;
};

template <class T>
class DispatchTable : public DispatchTableBase {
public:
    DispatchTable(std::u16string_view className, std::vector<DispatchRow<T>> rows)
        : DispatchTableBase(className, infos(rows)), rows_(std::move(rows)) {}

    Status invoke(T& target, DispId id, uint16_t flags, std::vector<Variant>& args, Variant& result) const {
        size_t row = 0;
        if (Status s = findRow(id, flags, args.size(), row); !s) return s;
        result = Variant();
        return rows_[row].call(target, args, result, className_, rows_[row].info);
    }

private:
    static std::vector<MemberInfo> infos(const std::vector<DispatchRow<T>>& rows) {
        std::vector<MemberInfo> out;
        for (const auto& r : rows) out.push_back(r.info);
        return out;
    }
    std::vector<DispatchRow<T>> rows_;
};

namespace detail {

template <class F>
struct MemberFn;
template <class C, class... P>
struct MemberFn<Status (C::*)(P...)> {
    using Class = C;
    using Params = std::tuple<P...>;
    using Values = std::tuple<std::remove_cvref_t<P>...>;
    static constexpr size_t count = sizeof...(P);
};

template <auto Fn, MemberKind Kind>
DispatchRow<typename MemberFn<decltype(Fn)>::Class> makeRow(DispId id, std::u16string_view name,
                                                            const std::vector<std::u16string_view>& names) {
    using M = MemberFn<decltype(Fn)>;
    using Class = typename M::Class;
    using Values = typename M::Values;
    constexpr bool hasResult = Kind == MemberKind::Function || Kind == MemberKind::PropertyGet;
    constexpr size_t argCount = M::count - (hasResult ? 1 : 0);

    MemberInfo info{id, name, Kind, {}, ParamType::None};
    [&]<size_t... I>(std::index_sequence<I...>) {
        (info.params.push_back(ParameterInfo{
             I < names.size() ? names.begin()[I] : std::u16string_view(),
             Param<std::tuple_element_t<I, Values>>::type,
             std::is_lvalue_reference_v<std::tuple_element_t<I, typename M::Params>> &&
                 WrittenBack<std::tuple_element_t<I, Values>>}),
         ...);
    }(std::make_index_sequence<argCount>{});
    if constexpr (hasResult) {
        using R = std::tuple_element_t<argCount, Values>;
        info.result = Param<R>::type;
    }

    auto call = [](Class& target, std::vector<Variant>& args, Variant& result, std::u16string_view className,
                   const MemberInfo& member) -> Status {
        Values values{};
        Status status;
        auto convert = [&]<size_t I>(std::integral_constant<size_t, I>) {
            if (int32_t e = coerce(args[I], std::get<I>(values))) {
                status = DispatchTableBase::argumentError(e, className, member, I);
                return false;
            }
            return true;
        };
        [&]<size_t... I>(std::index_sequence<I...>) {
            (void)(convert(std::integral_constant<size_t, I>{}) && ...);
        }(std::make_index_sequence<argCount>{});
        if (!status) return status;
        status = std::apply([&](auto&... v) { return (target.*Fn)(v...); }, values);
        // By-reference arguments come back whatever the outcome, as a direct
        // call leaves them.
        auto writeBack = [&]<size_t I>(std::integral_constant<size_t, I>) {
            using V = std::tuple_element_t<I, Values>;
            if constexpr (std::is_lvalue_reference_v<std::tuple_element_t<I, typename M::Params>> &&
                          WrittenBack<V>)
                args[I] = Param<V>::out(std::get<I>(values));
        };
        [&]<size_t... I>(std::index_sequence<I...>) {
            (writeBack(std::integral_constant<size_t, I>{}), ...);
        }(std::make_index_sequence<argCount>{});
        if constexpr (hasResult) {
            using R = std::tuple_element_t<argCount, Values>;
            result = Param<R>::out(std::get<argCount>(values));
        }
        return status;
    };
    return {std::move(info), call};
}

}  // namespace detail

/// A member with a declared result (its final parameter).
template <auto Fn>
auto function(DispId id, std::u16string_view name, const std::vector<std::u16string_view>& params) {
    return detail::makeRow<Fn, MemberKind::Function>(id, name, params);
}
/// A member without a result.
template <auto Fn>
auto procedure(DispId id, std::u16string_view name, const std::vector<std::u16string_view>& params) {
    return detail::makeRow<Fn, MemberKind::Procedure>(id, name, params);
}
/// The reading of a property or field (its only parameter is the result).
template <auto Fn>
auto propertyGet(DispId id, std::u16string_view name) {
    return detail::makeRow<Fn, MemberKind::PropertyGet>(id, name, {});
}
/// The assignment of a property; its one parameter is the value.
template <auto Fn>
auto propertyPut(DispId id, std::u16string_view name, const std::vector<std::u16string_view>& params) {
    return detail::makeRow<Fn, MemberKind::PropertyPut>(id, name, params);
}
/// The assignment of an object field by reference.
template <auto Fn>
auto propertyPutRef(DispId id, std::u16string_view name, const std::vector<std::u16string_view>& params) {
    return detail::makeRow<Fn, MemberKind::PropertyPutRef>(id, name, params);
}

/// The row of a described member: its identifier, name and parameter names
/// come from \a member, everything else from the member function.
template <auto Fn>
auto described(const MemberDescription& member) {
    std::vector<std::u16string_view> names;
    for (const ParamDescription& p : member.params) names.push_back(p.name);
    return member.role == MemberRole::PropertyPut ? propertyPut<Fn>(member.dispatchId, member.name, names)
                                                  : function<Fn>(member.dispatchId, member.name, names);
}

}  // namespace kxsim::surface
