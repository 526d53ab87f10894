// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The shared library is made of the static layers linked whole; this unit only
// gives the target a source of its own.
