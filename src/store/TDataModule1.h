#pragma once

#include "store/CaseWriter.h"
#include "store/Database.h"
#include "store/Dataset.h"

#include <QObject>

#include <memory>

namespace ravnobor::store {

// Owns the one connection to the working copy and the two datasets on it:
// the list dataset (every row of the property table) and the settings dataset.
class TDataModule1 : public QObject {
    Q_OBJECT
public:
    TDataModule1();

    void connectTo(const QString& workingCopyPath);
    void disconnect();
    bool isConnected() const { return m_connection.isOpen(); }
    Database& connection() { return m_connection; }
    // Rows of the property table in the working copy (0 when not connected).
    int propertyRowCount();

    Dataset& ADODataSet1() { return *m_list; }     // list dataset
    Dataset& ADODataSet2() { return *m_settings; } // settings dataset
    // The one writer of the working copy, with the case's history.
    CaseWriter& writer() { return *m_writer; }

private:
    Database m_connection;
    std::unique_ptr<CaseWriter> m_writer;
    std::unique_ptr<Dataset> m_list;
    std::unique_ptr<Dataset> m_settings;
};

} // namespace ravnobor::store
