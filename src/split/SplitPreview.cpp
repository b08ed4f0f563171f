#include "split/SplitPreview.h"

namespace ravnobor::split {

namespace {

QString ownPriceLine(const QString& name, const ExactAmount& result, const ExactAmount& fair, const PreviewNames& names,
                     const QLocale& locale) {
    const QString fairText = fair.toAmountText(names.currencySuffix, locale);
    const Money rounded = result.roundedToCents();
    if (rounded.isZero())
        return QStringLiteral("%1: по своим ценам получает ровно свою долю %2").arg(name, fairText);
    return QStringLiteral("%1: по своим ценам получает на %2 %3 своей доли %4")
        .arg(name, rounded.abs().toAmountText(names.currencySuffix, locale),
             rounded > Money() ? QStringLiteral("больше") : QStringLiteral("меньше"), fairText);
}

} // namespace

SplitPreview splitPreview(const SplitPlan& plan, const PreviewNames& names, const QLocale& locale) {
    SplitPreview out;
    const auto amount = [&](const ExactAmount& a) { return a.toAmountText(names.currencySuffix, locale); };
    const QString partyLine = QStringLiteral("%1: предметов %2, по выбранной цене на сумму %3");
    // One pass over the line: a name that holds "%2" must not take the count.
    out.party1 = partyLine.arg(names.party1Name, QString::number(plan.count1), amount(plan.share1));
    out.party2 = partyLine.arg(names.party2Name, QString::number(plan.count2), amount(plan.share2));

    const Money payment = plan.payment.roundedToCents();
    if (payment.isZero()) {
        out.payment = QStringLiteral("Доплата не нужна: %1").arg(amount(payment));
    } else {
        const bool party1Pays = payment > Money();
        out.payment = QStringLiteral("Доплата %1: платит %2, получает %3")
                          .arg(amount(payment.abs()), party1Pays ? names.party1Name : names.party2Name,
                               party1Pays ? names.party2Name : names.party1Name);
    }

    if (plan.method == SplitMethod::OwnPrices) {
        out.own1 = ownPriceLine(names.party1Name, plan.result1, plan.fair1, names, locale);
        out.own2 = ownPriceLine(names.party2Name, plan.result2, plan.fair2, names, locale);
    }

    if (plan.freeItems == 0)
        out.quality = QStringLiteral("Нераспределённого имущества нет: раздел не изменится.");
    else if (plan.method == SplitMethod::OwnPrices)
        out.quality = QStringLiteral("Каждая сторона по своим ценам получает сверх своей доли одну и ту же сумму.");
    else if (plan.proven)
        out.quality = QStringLiteral("Это наименьшая возможная доплата.");
    else
        out.quality = QStringLiteral("Это наименьшая доплата, найденная за отведённое время (1 с); "
                                     "меньшая возможна.");
    out.changed = QStringLiteral("Предметов меняют место: %1").arg(plan.changed);
    return out;
}

} // namespace ravnobor::split
