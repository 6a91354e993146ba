// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ratesource.h"

#include <QByteArray>
#include <QDate>
#include <QString>

namespace update {

// Parses a page's bytes (decoded by `headerCharset`, else by its meta tag,
// else as windows-1251) and reads them as `kind`. Every rate the page gives
// is checked (rates::pageRateProblem): the first that cannot be right is the
// reading's refusal. Takes a while for a long page; any thread may run it.
PageReading readPage(const QByteArray &bytes, const QString &headerCharset, PageKind kind,
                     QDate today);

} // namespace update
