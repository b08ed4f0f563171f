// The rules that turn the stored party data into display names and the variant line.
#include "settings/PartyNames.h"
#include "store/Layout.h"

#include <QTest>

using ravnobor::settings::PartyFields;

class TestSettingsNames : public QObject {
    Q_OBJECT
private slots:
    void composePartyName_data();
    void composePartyName();
    void firstWholeCharacter_data();
    void firstWholeCharacter();
    void storedFlag_data();
    void storedFlag();
    void menuText();
    void variantLine_data();
    void variantLine();
    void textLengths();
};

void TestSettingsNames::composePartyName_data() {
    QTest::addColumn<bool>("legal");
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QString>("patronymic");
    QTest::addColumn<QString>("entity");
    QTest::addColumn<QString>("expected");
    QTest::newRow("full person") << false << "Петров"
                                 << "Пётр"
                                 << "Иванович"
                                 << "ООО Ромашка"
                                 << "Петров П. И.";
    QTest::newRow("empty person") << false << ""
                                  << ""
                                  << ""
                                  << ""
                                  << " . .";
    QTest::newRow("no first name") << false << "Петров"
                                   << ""
                                   << "Иванович"
                                   << ""
                                   << "Петров . И.";
    QTest::newRow("no patronymic") << false << "Smith"
                                   << "John"
                                   << ""
                                   << ""
                                   << "Smith J. .";
    QTest::newRow("surname only") << false << "Петров"
                                  << ""
                                  << ""
                                  << ""
                                  << "Петров . .";
    QTest::newRow("blanks kept") << false << " Петров "
                                 << " Пётр"
                                 << "Иванович"
                                 << ""
                                 << " Петров   . И.";
    QTest::newRow("entity as stored") << true << "Петров"
                                      << "Пётр"
                                      << "Иванович"
                                      << "  ООО \"Ромашка\" & Ко  "
                                      << "  ООО \"Ромашка\" & Ко  ";
    QTest::newRow("empty entity") << true << "Петров"
                                  << "Пётр"
                                  << "Иванович"
                                  << ""
                                  << "";
    QTest::newRow("markup stays text") << false << "<b>Петров</b>"
                                       << "<i>"
                                       << "&amp;"
                                       << ""
                                       << "<b>Петров</b> <. &.";
    QTest::newRow("surrogate initial") << false << "Ли" << QString::fromUtf8("\xF0\x9D\x94\x84бв") << "Ю"
                                       << "" << QString::fromUtf8("Ли \xF0\x9D\x94\x84. Ю.");
}

void TestSettingsNames::composePartyName() {
    QFETCH(bool, legal);
    QFETCH(QString, surname);
    QFETCH(QString, firstName);
    QFETCH(QString, patronymic);
    QFETCH(QString, entity);
    QFETCH(QString, expected);
    QCOMPARE(ravnobor::settings::composePartyName({legal, surname, firstName, patronymic, entity}), expected);
}

void TestSettingsNames::firstWholeCharacter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("cyrillic") << "Пётр"
                              << "П";
    QTest::newRow("surrogate pair") << QString::fromUtf8("\xF0\x9D\x94\x84x") << QString::fromUtf8("\xF0\x9D\x94\x84");
    QTest::newRow("emoji") << QString::fromUtf8("\xF0\x9F\x98\x80!") << QString::fromUtf8("\xF0\x9F\x98\x80");
    // "Й" written as "И" and a combining breve stays one letter.
    QTest::newRow("combining mark") << QString::fromUtf8("\xD0\x98\xCC\x86ван")
                                    << QString::fromUtf8("\xD0\x98\xCC\x86");
    QTest::newRow("lone surrogate") << QString(QChar(0xD835)) + u'a' << QString(QChar(0xD835));
    QTest::newRow("blank") << " Пётр"
                           << " ";
}

void TestSettingsNames::firstWholeCharacter() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ravnobor::settings::firstWholeCharacter(text), expected);
}

void TestSettingsNames::storedFlag_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("expected");
    QTest::newRow("empty") << QVariant() << false;
    QTest::newRow("0") << QVariant(qint64(0)) << false;
    QTest::newRow("1") << QVariant(qint64(1)) << true;
    QTest::newRow("-1") << QVariant(qint64(-1)) << true;
    QTest::newRow("real") << QVariant(0.5) << true;
    QTest::newRow("text 0") << QVariant(QStringLiteral("0")) << false;
    QTest::newRow("text True") << QVariant(QStringLiteral("True")) << true;
    QTest::newRow("text other") << QVariant(QStringLiteral("abc")) << false;
    QTest::newRow("blob") << QVariant(QByteArray("\x01", 1)) << false;
}

void TestSettingsNames::storedFlag() {
    QFETCH(QVariant, stored);
    QFETCH(bool, expected);
    QCOMPARE(ravnobor::settings::storedFlag(stored), expected);
}

void TestSettingsNames::menuText() {
    QCOMPARE(ravnobor::settings::menuText(QStringLiteral("Рога & Копыта && Ко")),
             QStringLiteral("Рога && Копыта &&&& Ко"));
    QCOMPARE(ravnobor::settings::menuText(QStringLiteral("<b>")), QStringLiteral("<b>"));
}

void TestSettingsNames::variantLine_data() {
    QTest::addColumn<int>("variant");
    QTest::addColumn<int>("basis");
    QTest::addColumn<QString>("expected");
    QTest::newRow("side 1, prices 1") << 0 << 0 << "  Вариант раздела: Иванов И. И.,  цена: Иванов И. И.";
    QTest::newRow("side 1, prices 2") << 0 << 1 << "  Вариант раздела: Иванов И. И.,  цена: ООО Ромашка";
    QTest::newRow("side 2, agreed") << 1 << 2 << "  Вариант раздела: ООО Ромашка,  цена: Согласованная";
    QTest::newRow("side 2, prices 1") << 1 << 0 << "  Вариант раздела: ООО Ромашка,  цена: Иванов И. И.";
}

void TestSettingsNames::variantLine() {
    QFETCH(int, variant);
    QFETCH(int, basis);
    QFETCH(QString, expected);
    const QString p1 = QStringLiteral("Иванов И. И.");
    const QString p2 = QStringLiteral("ООО Ромашка");
    using namespace ravnobor::settings;
    QCOMPARE(ravnobor::settings::variantLine(variantEntry(variant, p1, p2), priceBasisEntry(basis, p1, p2)), expected);
}

void TestSettingsNames::textLengths() {
    namespace layout = ravnobor::layout;
    QCOMPARE(layout::settingsTextLength(layout::Surname1), layout::NameLength);
    QCOMPARE(layout::settingsTextLength(layout::Patronymic2), layout::NameLength);
    QCOMPARE(layout::settingsTextLength(layout::Entity1), layout::LongTextLength);
    QCOMPARE(layout::settingsTextLength(layout::Address2), layout::LongTextLength);
    QCOMPARE(layout::settingsTextLength(layout::Description), layout::LongTextLength);
}

QTEST_GUILESS_MAIN(TestSettingsNames)
#include "tst_settings_names.moc"
