#pragma once

#include "split/ExactAmount.h"
#include "store/Layout.h"
#include "store/Money.h"
#include "store/Share.h"

#include <QString>

#include <array>

namespace ravnobor {

// Program-wide state, owned by the program object and handed by reference to the
// windows that read or write it.
struct AppState {
    static inline const QString NoCaseSentinel = QStringLiteral("qzx");

    QString caseFileName = NoCaseSentinel;
    QString documentsFolder;
    QString helpFilePath;
    QString saveDialogFileName; // the file the next Save writes
    QString workingCopyPath;    // the live store of the case
    bool caseSaved = true;
    int totalRecords = 0;

    QString party1Name = QStringLiteral("Сторона1");
    QString party2Name = QStringLiteral("Сторона2");
    QString caseDescription;

    int divisionVariant = 0; // 0 side 1's proposal, 1 side 2's
    int priceBasis = 0;      // 0 Цена 1, 1 Цена 2, 2 Согласованная цена
    int currencyIndex = 0;
    QString currencySuffix = QStringLiteral("руб.");

    // Party 1's share of the distributed property, from the case; equal unless it says otherwise.
    Share share;

    // Kept by the totals for the division report.
    split::ExactAmount share1Total;
    split::ExactAmount share2Total;
    split::ExactAmount undistributedTotal;

    // The twelve headings of the property-list grid; they travel with the case.
    std::array<QString, layout::HeadingCount> headings = layout::DesignHeadings;
};

} // namespace ravnobor
