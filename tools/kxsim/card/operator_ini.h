// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The operator INI of the network list: section "Operators", keys MCC and MNC
// as digits ("26201"), values the operator names, made from the service
// providers file of Debian's mobile-broadband-provider-info.

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

namespace kxsim::card {

inline constexpr char kServiceProvidersFile[] = "/usr/share/mobile-broadband-provider-info/serviceproviders.xml";

/// The INI text for \a xml. Where providers share a network, the first one in
/// the file names it (the network's operator comes before resellers there);
/// a network-id whose MCC is not three digits or MNC not two or three is
/// left out. Sets \a error and returns empty for a file that is not such XML.
QByteArray operatorIni(const QByteArray& xml, QString& error);

/// The keys and names of section \a section of the INI file \a path, in
/// the file's order; empty when it cannot be read.
std::vector<std::pair<QString, QString>> operatorNames(const QString& path, const QString& section);

}  // namespace kxsim::card
