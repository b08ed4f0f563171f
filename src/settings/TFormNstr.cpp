#include "settings/TFormNstr.h"

#include "editor/TFormNewZap.h"
#include "editor/TFormPT.h"
#include "settings/Centred.h"
#include "settings/ColumnLengthValidator.h"
#include "settings/PartyNames.h"
#include "settings/RadioGroup.h"
#include "settings/TFormVariant.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "split/ShareField.h"
#include "split/SplitStore.h"
#include "store/Layout.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace ravnobor {

namespace {

const QColor NotApplicableColour(229, 229, 229);
const QSize DesignedClientSize(502, 325);
constexpr int LineEditLimit = 32767; // QLineEdit's own default maximum

// Edits and their columns, in the order of their names DBEdit1..DBEdit11.
const std::array<const QString*, 11> EditColumns = {&layout::Description, &layout::Surname1,    &layout::Surname2,
                                                    &layout::FirstName1,  &layout::Patronymic1, &layout::FirstName2,
                                                    &layout::Patronymic2, &layout::Entity1,     &layout::Entity2,
                                                    &layout::Address1,    &layout::Address2};

QString storedText(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

void paintApplicable(QLineEdit* edit, bool applies) {
    edit->setEnabled(applies);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base,
                     applies ? QApplication::palette().color(QPalette::Active, QPalette::Base) : NotApplicableColour);
    edit->setPalette(palette);
}

} // namespace

TFormNstr::TFormNstr(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("FormNstr"));
    setWindowTitle(QStringLiteral("Исходные данные"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    buildWindow();

    TFormMain& main = m_program.formMain();
    QAction* command = main.commands().Serv_Nastr;
    main.connectCommand(command, [this] { Serv_NastrClick(); });
}

void TFormNstr::buildWindow() {
    for (size_t i = 0; i < EditColumns.size(); ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("DBEdit%1").arg(i + 1));
        auto* limit = new ColumnLengthValidator(layout::settingsTextLength(*EditColumns[i]), edit);
        edit->setValidator(limit);
        m_edits.push_back({edit, limit, *EditColumns[i], QString()});
    }
    m_parties[0] = {nullptr, layout::Legal1, {2, 4, 5}, 8, 10};
    m_parties[1] = {nullptr, layout::Legal2, {3, 6, 7}, 9, 11};

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 6, 8, 8);
    column->setSpacing(4);
    auto* descriptionLabel = new QLabel(QStringLiteral("Описание предмета спора"), this);
    descriptionLabel->setBuddy(DBEdit(1));
    column->addWidget(descriptionLabel);
    column->addWidget(DBEdit(1));
    auto* groups = new QHBoxLayout;
    groups->setSpacing(8);
    groups->addWidget(buildPartyGroup(0, QStringLiteral("Первая сторона")), 1);
    groups->addWidget(buildPartyGroup(1, QStringLiteral("Вторая сторона")), 1);
    column->addLayout(groups, 1);
    m_share = new split::ShareField(*this);
    column->addLayout(m_share->row());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    ok->setMinimumWidth(75);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addStretch(1);
    column->addLayout(buttons);

    RadioGroup1 = m_parties[0].kind;
    RadioGroup2 = m_parties[1].kind;

    // Description, then each party: option, surname, first name, patronymic, entity, address; then OK.
    QList<QWidget*> order{DBEdit(1)};
    for (const PartyControls& party : m_parties) {
        order << party.kind->button(0) << party.kind->button(1);
        for (int number : party.personEdits)
            order << DBEdit(number);
        order << DBEdit(party.entityEdit) << DBEdit(party.addressEdit);
    }
    order << m_share->EditShare1 << ok;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    setFixedSize(DesignedClientSize.expandedTo(minimumSizeHint()));
}

QWidget* TFormNstr::buildPartyGroup(int party, const QString& caption) {
    PartyControls& controls = m_parties[size_t(party)];
    auto* group = new QGroupBox(caption, this);
    group->setObjectName(QStringLiteral("GroupBox%1").arg(party + 1));
    controls.kind = new QButtonGroup(this);
    controls.kind->setObjectName(QStringLiteral("RadioGroup%1").arg(party + 1));
    const QString itemName = controls.kind->objectName() + QStringLiteral("Item%1");
    auto* person = new QRadioButton(QStringLiteral("Физическое лицо"), group);
    auto* entity = new QRadioButton(QStringLiteral("Юридическое лицо"), group);
    person->setObjectName(itemName.arg(0));
    entity->setObjectName(itemName.arg(1));
    for (QRadioButton* option : {person, entity})
        option->setMinimumWidth(option->sizeHint().width());
    controls.kind->addButton(person, 0);
    controls.kind->addButton(entity, 1);
    keepTabStopOnChosen(*controls.kind);
    connect(controls.kind, &QButtonGroup::idToggled, this, [this, party](int, bool checked) {
        if (checked)
            m_program.formMain().runCommand([this, party] { party == 0 ? RadioGroup1Click() : RadioGroup2Click(); });
    });

    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    grid->setColumnMinimumWidth(0, 12);
    grid->addWidget(person, 0, 0, 1, 3);
    const QString personLabels[3] = {QStringLiteral("Фамилия"), QStringLiteral("Имя"), QStringLiteral("Отчество")};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(personLabels[i], group);
        label->setBuddy(DBEdit(controls.personEdits[size_t(i)]));
        grid->addWidget(label, i + 1, 1);
        grid->addWidget(DBEdit(controls.personEdits[size_t(i)]), i + 1, 2);
    }
    // The entity's name goes under its option: beside it the edit would be too narrow
    // for a name with this toolkit's fonts.
    grid->addWidget(entity, 4, 0, 1, 3);
    grid->addWidget(DBEdit(controls.entityEdit), 5, 1, 1, 2);
    grid->setRowMinimumHeight(6, 4);
    auto* addressLabel = new QLabel(QStringLiteral("Адрес"), group);
    addressLabel->setBuddy(DBEdit(controls.addressEdit));
    grid->addWidget(addressLabel, 7, 0, 1, 2);
    grid->addWidget(DBEdit(controls.addressEdit), 7, 2);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(8, 1);
    return group;
}

void TFormNstr::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(*this);
}

void TFormNstr::done(int result) {
    if (m_share->acceptable(m_program.dialogs, this))
        QDialog::done(result);
}

void TFormNstr::Serv_NastrClick() {
    FormActivate();
    try {
        m_program.dialogs.exec(*this);
    } catch (...) {
        FormDeactivate();
        throw;
    }
    FormDeactivate();
}

void TFormNstr::FormActivate() {
    auto& settings = m_program.dataModule().ADODataSet2();
    settings.open();
    settings.edit();
    try {
        loadEdits();
        m_share->load(m_program.dataModule().connection());
        for (size_t p = 0; p < m_parties.size(); ++p) {
            m_storedLegal[p] = settings::storedFlag(settings.fieldByName(m_parties[p].legalColumn));
            const QSignalBlocker quiet(m_parties[p].kind);
            m_parties[p].kind->button(m_storedLegal[p] ? 1 : 0)->setChecked(true);
        }
    } catch (...) {
        settings.cancel();
        settings.close();
        throw;
    }
    RadioGroup1Click();
    RadioGroup2Click();
}

void TFormNstr::loadEdits() {
    const auto& settings = m_program.dataModule().ADODataSet2();
    for (BoundEdit& bound : m_edits) {
        bound.shownText = storedText(settings.fieldByName(bound.column));
        // setText would cut a text longer than the edit's own limit: let it stand whole.
        bound.edit->setMaxLength(std::max(LineEditLimit, int(bound.shownText.size())));
        // The edit runs its validator on setText too, so the limit must know first.
        bound.limit->allowStoredLength(int(bound.shownText.size()));
        bound.edit->setText(bound.shownText);
        bound.edit->setCursorPosition(0);
    }
}

void TFormNstr::applyPartyKind(const PartyControls& party) {
    const bool legalEntity = party.kind->checkedId() == 1;
    for (int number : party.personEdits)
        paintApplicable(DBEdit(number), !legalEntity);
    paintApplicable(DBEdit(party.entityEdit), legalEntity);
}

void TFormNstr::RadioGroup1Click() {
    applyPartyKind(m_parties[0]);
}

void TFormNstr::RadioGroup2Click() {
    applyPartyKind(m_parties[1]);
}

void TFormNstr::FormDeactivate() {
    auto& settings = m_program.dataModule().ADODataSet2();
    if (settings.isOpen()) {
        // Every field and the share together are one step of the history; the silent
        // refresh after a load writes nothing new and so makes none.
        store::CaseWriter::Step step(m_program.dataModule().writer(), QStringLiteral("исходные данные"), -1, this);
        try {
            writeBackChanges();
            settings.post();
        } catch (...) {
            settings.cancel();
            settings.close();
            throw;
        }
        settings.close();
        m_share->store(m_program.dataModule().writer());
        step.commit();
    }
    NewName_all();
}

bool TFormNstr::writeBackChanges() {
    auto& settings = m_program.dataModule().ADODataSet2();
    bool changed = false;
    // Only what the user changed goes back, so a stored value is never rewritten or cut.
    for (const BoundEdit& bound : m_edits) {
        if (bound.edit->text() != bound.shownText) {
            settings.setFieldByName(bound.column, bound.edit->text());
            changed = true;
        }
    }
    const bool creatingRow = settings.state() == store::Dataset::State::Insert;
    for (size_t p = 0; p < m_parties.size(); ++p) {
        const bool legalEntity = m_parties[p].kind->checkedId() == 1;
        if (legalEntity != m_storedLegal[p] || creatingRow)
            settings.setFieldByName(m_parties[p].legalColumn, legalEntity ? 1 : 0);
        changed = changed || legalEntity != m_storedLegal[p];
    }
    return changed;
}

void TFormNstr::NewName_all() {
    auto& settings = m_program.dataModule().ADODataSet2();
    const bool openedHere = !settings.isOpen();
    if (openedHere) {
        // An older case gains the share's column, so that a share set later is saved with it.
        split::ensureShareColumn(m_program.dataModule().connection());
        settings.open();
    }
    const bool hasRow = settings.state() != store::Dataset::State::Browse || settings.recordCount() > 0;
    const auto text = [&](const QString& column) {
        return hasRow ? storedText(settings.fieldByName(column)) : QString();
    };
    const auto party = [&](const QString& legal, const QString& surname, const QString& firstName,
                           const QString& patronymic, const QString& entity) {
        return settings::PartyFields{hasRow && settings::storedFlag(settings.fieldByName(legal)), text(surname),
                                     text(firstName), text(patronymic), text(entity)};
    };
    AppState& state = m_program.state;
    try {
        state.party1Name = settings::composePartyName(
            party(layout::Legal1, layout::Surname1, layout::FirstName1, layout::Patronymic1, layout::Entity1));
        state.party2Name = settings::composePartyName(
            party(layout::Legal2, layout::Surname2, layout::FirstName2, layout::Patronymic2, layout::Entity2));
        state.caseDescription = text(layout::Description);
    } catch (...) {
        if (openedHere)
            settings.close();
        throw;
    }
    if (openedHere)
        settings.close();
    state.share = split::caseShare(m_program.dataModule().connection());
    emit namesChanged(state.party1Name, state.party2Name);
}

} // namespace ravnobor
