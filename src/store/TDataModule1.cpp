#include "store/TDataModule1.h"

#include "store/Layout.h"

namespace ravnobor::store {

TDataModule1::TDataModule1()
    : m_writer(std::make_unique<CaseWriter>(m_connection)),
      m_list(std::make_unique<Dataset>(m_connection, layout::PropertyTable)),
      m_settings(std::make_unique<Dataset>(m_connection, layout::SettingsTable)) {
    setObjectName(QStringLiteral("DataModule1"));
    m_list->setWriter(m_writer.get(), CaseTable::Property);
    m_settings->setWriter(m_writer.get(), CaseTable::Settings);
    // The list dataset is followed by the grid that shows it, row by row.
    connect(m_writer.get(), &CaseWriter::changed, this, [this](const CaseChange& change) {
        if (change.settings && change.origin != m_settings.get() && m_settings->isOpen())
            m_settings->reread();
    });
}

void TDataModule1::connectTo(const QString& workingCopyPath) {
    disconnect();
    m_connection = Database(workingCopyPath, Database::Mode::ReadWrite);
    m_connection.execute(QStringLiteral("PRAGMA journal_mode = DELETE"));
    // The working copy is scratch: every load overwrites it from the case file, and a
    // Save writes the case file through a synced temporary. Waiting for the disk on
    // every single write (a board move) would buy nothing.
    m_connection.execute(QStringLiteral("PRAGMA synchronous = OFF"));
}

int TDataModule1::propertyRowCount() {
    if (!m_connection.isOpen())
        return 0;
    Statement count = m_connection.prepare(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(layout::PropertyTable));
    return count.step() ? int(count.integer(0)) : 0;
}

void TDataModule1::disconnect() {
    m_list->close();
    m_settings->close();
    m_connection.close();
}

} // namespace ravnobor::store
