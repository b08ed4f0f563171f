#include "sheets/DivisionExport.h"

#include "board/BoardColumnModel.h"
#include "board/BoardStore.h"
#include "board/TotalsText.h"
#include "settings/PartyNames.h"
#include "split/ExactAmount.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/FileError.h"
#include "store/Layout.h"
#include "store/NumberText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cerrno>
#include <filesystem>

#include <sys/stat.h>

namespace ravnobor::sheets {

namespace {

constexpr std::array<int, 3> PricePositions = {layout::ColPrice1, layout::ColPrice2, layout::ColAgreedPrice};
// Grid heading positions of name, the three prices, valuation and notes.
constexpr std::array<int, 6> HeadingPositions = {0, 1, 2, 3, 4, 11};

QString headingText(const QString& heading) {
    return heading.split(u'|', Qt::SkipEmptyParts).join(u' ').simplified();
}

Money priceMoney(const ExportItem& item, int basis) {
    return board::storedPrice(item.prices[size_t(basis)], item.name).value_or(Money{});
}

double moneyValue(Money money) {
    return money.toPlainText(QLocale::c()).toDouble();
}

Error writeFailed(const QString& path, const QString& why) {
    return Error(QStringLiteral("Файл «%1» не удалось записать: %2.").arg(path, why));
}

// The system's own cause in plain words (a full disk, no permission, ...) when it left
// one, else what the library said.
Error writeFailedBySystem(const QString& path, int systemError, const QString& otherwise) {
    const QString words = fileSystemReason(systemError);
    return writeFailed(path, words.isEmpty() ? otherwise : words);
}

// The Excel column letter of a column from 0.
std::string columnName(int column) {
    std::string letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), char('A' + (n - 1) % 26));
    return letters;
}

class XlsxBook {
public:
    // Written to `path`; a failure names `shownPath`, the file the user chose.
    XlsxBook(const QString& path, const QString& shownPath) : m_path(shownPath) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_FALSE;
        m_book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
        if (!m_book)
            throw writeFailed(shownPath, QStringLiteral("книгу не удалось создать"));
        money = workbook_add_format(m_book);
        format_set_num_format(money, "#,##0.00");
        bold = workbook_add_format(m_book);
        format_set_bold(bold);
        boldMoney = workbook_add_format(m_book);
        format_set_bold(boldMoney);
        format_set_num_format(boldMoney, "#,##0.00");
    }
    ~XlsxBook() {
        if (m_book)
            workbook_close(m_book); // only after a failure: the file is thrown away
    }
    lxw_worksheet* sheet(const QString& name) { return workbook_add_worksheet(m_book, name.toUtf8().constData()); }
    void close() {
        errno = 0;
        const lxw_error result = workbook_close(m_book);
        const int systemError = errno;
        m_book = nullptr;
        if (result != LXW_NO_ERROR)
            throw writeFailedBySystem(m_path, systemError, QString::fromUtf8(lxw_strerror(result)));
    }
    lxw_format* money = nullptr;
    lxw_format* bold = nullptr;
    lxw_format* boldMoney = nullptr;

private:
    QString m_path;
    lxw_workbook* m_book = nullptr;
};

void writeText(lxw_worksheet* sheet, int row, int column, const QString& text, lxw_format* format = nullptr) {
    if (!text.isEmpty())
        worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column), text.toUtf8().constData(), format);
}

void writePropertySheet(XlsxBook& book, const ExportCase& data) {
    lxw_worksheet* sheet = book.sheet(QStringLiteral("Имущество"));
    const QStringList headings = propertyHeadings(data);
    for (int c = 0; c < headings.size(); ++c)
        writeText(sheet, 0, c, headings[c], book.bold);
    std::array<Money, 3> sums{};
    int row = 1;
    for (const ExportItem& item : data.items) {
        worksheet_write_number(sheet, lxw_row_t(row), 0, row, nullptr);
        writeText(sheet, row, 1, item.name);
        for (int p = 0; p < 3; ++p) {
            if (item.prices[size_t(p)].isNull())
                continue;
            sums[size_t(p)] += priceMoney(item, p);
            worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(2 + p), item.prices[size_t(p)].toDouble(),
                                   book.money);
        }
        writeText(sheet, row, 5, item.valuation);
        writeText(sheet, row, 6, item.notes);
        writeText(sheet, row, 7, receiverText(data, item, 0));
        writeText(sheet, row, 8, receiverText(data, item, 1));
        ++row;
    }
    // The sums as formulas, with their values cached for readers that do not calculate.
    writeText(sheet, row, 0, QStringLiteral("Итого"), book.bold);
    for (int p = 0; p < 3; ++p) {
        if (data.items.empty()) {
            worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(2 + p), 0, book.boldMoney);
            continue;
        }
        const std::string column = columnName(2 + p);
        const std::string formula = "=SUM(" + column + "2:" + column + std::to_string(row) + ")";
        worksheet_write_formula_num(sheet, lxw_row_t(row), lxw_col_t(2 + p), formula.c_str(), book.boldMoney,
                                    moneyValue(sums[size_t(p)]));
    }
    worksheet_set_column(sheet, 1, 1, 40, nullptr);
    worksheet_set_column(sheet, 2, 4, 16, nullptr);
    worksheet_set_column(sheet, 5, 8, 20, nullptr);
}

void writeTotalsSheet(XlsxBook& book, const ExportCase& data, const QLocale& locale) {
    lxw_worksheet* sheet = book.sheet(QStringLiteral("Итоги"));
    const std::vector<TotalsRow> rows = totalsRows(data, locale);
    const QStringList headings = {QStringLiteral("Вариант раздела"),
                                  QStringLiteral("Цена"),
                                  QStringLiteral("Всего имущества"),
                                  QStringLiteral("Распределено"),
                                  QStringLiteral("Не распределено"),
                                  data.party1,
                                  data.party2,
                                  rows.empty() ? QString() : rows.front().targetCaption,
                                  data.party1,
                                  data.party2};
    for (int c = 0; c < headings.size(); ++c)
        writeText(sheet, 0, c, headings[c], book.bold);
    int r = 1;
    for (const TotalsRow& row : rows) {
        writeText(sheet, r, 0, row.variant);
        writeText(sheet, r, 1, row.basis);
        for (int s = 0; s < 5; ++s)
            worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(2 + s), moneyValue(row.sums[size_t(s)]), book.money);
        writeText(sheet, r, 7, row.target);
        writeText(sheet, r, 8, row.party1Line);
        writeText(sheet, r, 9, row.party2Line);
        ++r;
    }
    worksheet_set_column(sheet, 0, 1, 24, nullptr);
    worksheet_set_column(sheet, 2, 9, 22, nullptr);
}

QString csvField(const QString& text, QChar delimiter) {
    if (!text.contains(delimiter) && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// A temporary file name beside the target.
QString temporaryBeside(const QString& path) {
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open())
        throw writeFailed(path, file.errorString());
    return file.fileName();
}

// What the process's file mode mask leaves of read and write for everyone.
QFileDevice::Permissions newFilePermissions() {
    QFileDevice::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (!(mask & S_IRGRP))
        permissions |= QFile::ReadGroup;
    if (!(mask & S_IWGRP))
        permissions |= QFile::WriteGroup;
    if (!(mask & S_IROTH))
        permissions |= QFile::ReadOther;
    if (!(mask & S_IWOTH))
        permissions |= QFile::WriteOther;
    return permissions;
}

} // namespace

// The position of each variant's item share column; -1 for a case without it.
std::array<int, 2> itemSharePositions(store::Database& db) {
    std::array<int, 2> positions{-1, -1};
    store::Statement info = db.prepare(QStringLiteral("SELECT cid, name FROM pragma_table_info(?1)"));
    info.bind(1, layout::PropertyTable);
    while (info.step())
        for (int v = 0; v < 2; ++v)
            if (info.text(1) == layout::itemShareColumn(v))
                positions[size_t(v)] = int(info.integer(0));
    return positions;
}

std::optional<Share> storedItemShare(const QVariant& stored, const QString& itemName) {
    const QString text = stored.isNull() ? QString() : stored.toString().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (!Share::isValid(text))
        throw Error(QStringLiteral("Доля имущества «%1» не доля: «%2»").arg(itemName, text));
    return Share::parse(text);
}

std::vector<ExportItem> readExportItems(store::Database& db) {
    const std::array<int, 2> sharePositions = itemSharePositions(db);
    store::Statement select = db.prepare(
        QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(store::quoteIdentifier(layout::PropertyTable)));
    std::vector<ExportItem> items;
    while (select.step()) {
        ExportItem item;
        item.name = select.value(layout::ColName).toString();
        for (size_t p = 0; p < PricePositions.size(); ++p) {
            item.prices[p] = select.value(PricePositions[p]);
            board::storedPrice(item.prices[p], item.name); // refuses a price that is no number
            if (!item.prices[p].isNull())
                item.prices[p] = QVariant(item.prices[p].toDouble());
        }
        item.valuation = select.value(layout::ColValuation).toString();
        item.notes = select.value(layout::ColNotes).toString();
        for (int v = 0; v < 2; ++v) {
            item.tags[size_t(v)] = layout::allocationTag(select.value(layout::allocationColumn(v)).toLongLong());
            if (sharePositions[size_t(v)] >= 0)
                item.shares[size_t(v)] = storedItemShare(select.value(sharePositions[size_t(v)]), item.name);
        }
        items.push_back(std::move(item));
    }
    return items;
}

QStringList propertyHeadings(const ExportCase& data) {
    QStringList headings{QStringLiteral("№")};
    for (const int pos : HeadingPositions)
        headings << headingText(data.headings[size_t(pos)]);
    headings << QStringLiteral("Вариант 1") << QStringLiteral("Вариант 2");
    return headings;
}

QString receiverText(const ExportCase& data, const ExportItem& item, int variant) {
    if (const std::optional<Share>& share = item.shares[size_t(variant)])
        return QStringLiteral("%1 (%2), %3 (%4)")
            .arg(data.party1, board::shareLabel(*share, true), data.party2, board::shareLabel(*share, false));
    const int tag = item.tags[size_t(variant)];
    return tag == layout::ToParty1 ? data.party1
                                   : (tag == layout::ToParty2 ? data.party2 : QStringLiteral("не распределено"));
}

std::vector<TotalsRow> totalsRows(const ExportCase& data, const QLocale& locale) {
    std::vector<TotalsRow> rows;
    for (int variant = 0; variant < 2; ++variant) {
        for (int basis = 0; basis < 3; ++basis) {
            board::TotalsInput input;
            input.currencySuffix = data.currencySuffix;
            input.party1Name = data.party1;
            input.party2Name = data.party2;
            for (const ExportItem& item : data.items) {
                const Money price = priceMoney(item, basis);
                if (const std::optional<Share>& share = item.shares[size_t(variant)]) {
                    input.share1 = input.share1 + split::ExactAmount::partOf(*share, price);
                    input.share2 = input.share2 + split::ExactAmount::otherPartOf(*share, price);
                    continue;
                }
                const int tag = item.tags[size_t(variant)];
                split::ExactAmount& sum = tag > 0 ? input.share1 : (tag < 0 ? input.share2 : input.undistributed);
                sum = sum + price;
            }
            const board::TotalsTexts texts = board::totalsTexts(input, data.share, locale);
            const split::ExactAmount distributed = input.share1 + input.share2;
            rows.push_back(
                {settings::variantEntry(variant, data.party1, data.party2),
                 settings::priceBasisEntry(basis, data.party1, data.party2),
                 {(distributed + input.undistributed).roundedToCents(), distributed.roundedToCents(),
                  input.undistributed.roundedToCents(), input.share1.roundedToCents(), input.share2.roundedToCents()},
                 texts.halfCaption,
                 texts.edit20.trimmed(),
                 texts.edit12.trimmed(),
                 texts.edit10.trimmed()});
        }
    }
    return rows;
}

void exportXlsx(const ExportCase& data, const QString& path, const QLocale& locale) {
    const QString temporary = temporaryBeside(path);
    try {
        XlsxBook book(temporary, path);
        writePropertySheet(book, data);
        writeTotalsSheet(book, data, locale);
        book.close();
        // The reserved name was made private; the export gets what a new file or the replaced one has.
        QFile::setPermissions(temporary, QFile::exists(path) ? QFile::permissions(path) : newFilePermissions());
        std::error_code error;
        std::filesystem::rename(QFile::encodeName(temporary).toStdString(), QFile::encodeName(path).toStdString(),
                                error);
        if (error)
            throw writeFailed(path, QString::fromLocal8Bit(error.message().c_str()));
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

QByteArray csvText(const ExportCase& data, const QLocale& locale) {
    const QChar delimiter = locale.decimalPoint() == QStringLiteral(",") ? u';' : u',';
    QString text;
    const auto line = [&](const QStringList& fields) {
        QStringList quoted;
        for (const QString& field : fields)
            quoted << csvField(field, delimiter);
        text += quoted.join(delimiter) + QStringLiteral("\r\n");
    };
    line(propertyHeadings(data));
    std::array<Money, 3> sums{};
    int number = 0;
    for (const ExportItem& item : data.items) {
        QStringList fields{QString::number(++number), item.name};
        for (int p = 0; p < 3; ++p) {
            fields << store::plainNumberText(item.prices[size_t(p)], locale);
            sums[size_t(p)] += priceMoney(item, p);
        }
        fields << item.valuation << item.notes << receiverText(data, item, 0) << receiverText(data, item, 1);
        line(fields);
    }
    QStringList total{QStringLiteral("Итого"), QString()};
    for (const Money& sum : sums)
        total << sum.toPlainText(locale);
    line(total);
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

void exportCsv(const ExportCase& data, const QString& path, const QLocale& locale) {
    // Unbuffered, so that a refused write is seen with the system's cause.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw writeFailedBySystem(path, errno, file.errorString());
    const QByteArray text = csvText(data, locale);
    errno = 0;
    if (file.write(text) != text.size()) {
        const int systemError = errno;
        file.cancelWriting();
        throw writeFailedBySystem(path, systemError, file.errorString());
    }
    errno = 0;
    if (!file.commit())
        throw writeFailedBySystem(path, errno, file.errorString());
}

} // namespace ravnobor::sheets
