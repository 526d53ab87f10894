// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The value a scripting host hands to and gets from a member called by name.

#include <cstdint>
#include <memory>
#include <string>

#include "kxsimlib/kxsimlib_export.h"

namespace kxsim {

class IDispatchable;

/// The component runtime's Boolean: True is -1, False is 0.
enum class Boolean : int16_t { False = 0, True = -1 };

/*!
  \brief A small variant: empty, a 16-bit integer ("Integer"), a 32-bit integer
  ("Long"), a Boolean (-1/0), a string, or an object reference.

  An object reference may be null ("Nothing"); it is still of type Object.

  \code
  kxsim::Variant twelve = kxsim::Variant::fromInteger(12);
  if (twelve.type() == kxsim::Variant::Type::Integer) use(twelve.integer());
  \endcode
*/
class KXSIMLIB_EXPORT Variant {
public:
    enum class Type { Empty, Integer, Long, Boolean, String, Object };

    Variant() = default;
    static Variant fromInteger(int16_t value) { return Variant(Type::Integer, value); }
    static Variant fromLong(int32_t value) { return Variant(Type::Long, value); }
    static Variant fromBoolean(Boolean value) { return Variant(Type::Boolean, static_cast<int16_t>(value)); }
    static Variant fromString(std::u16string text) {
        Variant v(Type::String, 0);
        v.text_ = std::move(text);
        return v;
    }
    static Variant fromObject(std::shared_ptr<IDispatchable> object) {
        Variant v(Type::Object, 0);
        v.object_ = std::move(object);
        return v;
    }

    Type type() const { return type_; }
    bool isEmpty() const { return type_ == Type::Empty; }

    /// The number of an Integer, Long or Boolean (-1/0); 0 for other types.
    int32_t number() const { return number_; }
    int16_t integer() const { return static_cast<int16_t>(number_); }
    Boolean boolean() const { return number_ ? Boolean::True : Boolean::False; }
    /// The text of a String; empty for other types.
    const std::u16string& text() const { return text_; }
    /// The object of an Object; null for other types and for Nothing.
    const std::shared_ptr<IDispatchable>& object() const { return object_; }

    friend bool operator==(const Variant&, const Variant&) = default;

private:
    Variant(Type type, int32_t number) : type_(type), number_(number) {}

    Type type_ = Type::Empty;
    int32_t number_ = 0;
    std::u16string text_;
    std::shared_ptr<IDispatchable> object_;
};

/// The name of a variant type as hosts know it: "Empty", "Integer", "Long",
/// "Boolean", "String", "Object".
KXSIMLIB_EXPORT const char16_t* variantTypeName(Variant::Type type);

}  // namespace kxsim
