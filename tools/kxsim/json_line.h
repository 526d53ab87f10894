// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// One JSON object on one line, its members in the order they were added.

#include <QString>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kxsim::tool {

class JsonLine {
public:
    JsonLine& add(const QString& name, const QString& text);
    JsonLine& add(const QString& name, const std::u16string& text);
    JsonLine& add(const QString& name, int64_t number);
    /// {"result": "NAME", "keys": "1;2;"}
    QString text() const;

private:
    std::vector<std::pair<QString, QString>> members_;  // name, encoded value
};

/// \a text as a JSON string literal; NUL and other control characters escaped.
QString jsonString(const QString& text);

}  // namespace kxsim::tool
