#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include <map>
#include <optional>
#include <vector>

namespace ravnobor::store {

class Database;

// The two tables of a case that the program changes.
enum class CaseTable { Property, Settings };

// What one change of the case, or its undo or redo, did to the stored rows. Windows
// follow it instead of reading the case again.
struct CaseChange {
    const void* origin = nullptr; // the object whose own write this was: it shows the change already
    std::vector<qint64> updated;  // property rows by key whose stored values changed
    std::vector<qint64> inserted; // property rows added
    std::vector<qint64> removed;  // property rows deleted
    bool settings = false;        // the settings row changed (fields, headings, share)
    int variant = -1;             // the division variant whose allocations changed; -1 for none
    bool replayed = false;        // an undo or a redo
    int rowCount() const { return int(updated.size() + inserted.size() + removed.size()); }
};

// The one writer of the open case's working copy. Every change runs in one transaction,
// becomes one step of the history (so it can be undone and redone with the exact stored
// values) and is announced. The step at which the case was last loaded or saved is the
// clean step: the case is saved exactly when the history stands there.
class CaseWriter final : public QObject {
    Q_OBJECT
public:
    explicit CaseWriter(Database& db);
    ~CaseWriter() override;
    Database& database() { return m_db; }
    // The key of the settings row that every reader and writer works on; none without one.
    std::optional<qint64> settingsRowKey();

    // A new case stands in the working copy: the history is cleared. A recovered case is
    // not the saved one, so no step of its history is clean.
    void reset(bool clean = true);
    // The case was saved as it stands now.
    void markClean();
    bool isClean() const { return m_index == m_cleanIndex; }

    // A group of writes that become one step named `name`, in one transaction. Writes
    // made without a group are steps of their own, named after what they did.
    class Step {
    public:
        Step(CaseWriter& writer, const QString& name, int variant = -1, const void* origin = nullptr);
        ~Step(); // rolls back unless committed
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;
        void commit();

    private:
        CaseWriter& m_writer;
        bool m_done = false;
    };

    // The primitive writes. Values go in as given and are compared the database's way:
    // a value that is stored already changes nothing and makes no step.
    void update(CaseTable table, qint64 key, const std::vector<std::pair<QString, QVariant>>& values,
                const void* origin = nullptr);
    // Returns the new row's key.
    qint64 insert(CaseTable table, const std::vector<std::pair<QString, QVariant>>& values,
                  const void* origin = nullptr);
    void remove(CaseTable table, qint64 key, const void* origin = nullptr);
    // Adds rows that all fill the same columns (a null value stores NULL), with each
    // statement prepared once; for imports of many rows. Returns the new rows' keys.
    std::vector<qint64> insertRows(CaseTable table, const QStringList& columns,
                                   const std::vector<std::vector<QVariant>>& rows, const void* origin = nullptr);
    // Writes these columns of the settings row, adding the row when the case has none.
    void updateSettings(const std::vector<std::pair<QString, QVariant>>& values, const QString& name);
    // The name of the column at that position.
    QString columnName(CaseTable table, int pos);

    // The board's writes. An Error names the item when its row is gone.
    void moveItem(int variant, qint64 key, int tag, const QString& itemName, const void* origin = nullptr);
    void gather(int variant, const void* origin = nullptr);
    // Splits the item between the parties by party 1's share as typed (its allocation
    // becomes 0), or makes it whole and undistributed again with an empty text. A text
    // that is no share is refused with an Error and nothing is written.
    void setItemShare(int variant, qint64 key, const QString& shareText, const QString& itemName,
                      const void* origin = nullptr);
    // Places each (key, tag) in one step; keys whose stored tag is already that stay.
    void placeItems(int variant, const std::vector<std::pair<qint64, int>>& placement, const QString& name);

    bool canUndo() const { return m_index > 0; }
    bool canRedo() const { return m_index < int(m_history.size()); }
    QString undoName() const; // empty when there is nothing to undo
    QString redoName() const;
    int undoVariant() const; // the variant the next undo changes; -1 for none
    int redoVariant() const;
    void undo();
    void redo();
    int stepCount() const { return int(m_history.size()); }

    // "перенос «Дом»": a name as stored, cut to 40 letters with "…".
    static QString stepName(const QString& what, const QString& itemName);

signals:
    // Before the first write that leaves the clean step is committed, so a record of
    // unsaved changes can be written before the changes exist.
    void leavingClean();
    void changed(const ravnobor::store::CaseChange& change);
    void cleanChanged(bool clean);
    void historyChanged();

private:
    // One column of some rows, before and after.
    struct ColumnEdit {
        CaseTable table;
        QString column;
        std::vector<qint64> keys;
        std::vector<QVariant> before;
        std::vector<QVariant> after;
    };
    // A whole row that came or went.
    struct RowEdit {
        CaseTable table;
        bool inserted; // false: deleted
        qint64 key;
        QStringList columns;
        std::vector<QVariant> values;
    };
    struct Edit {
        std::optional<ColumnEdit> column;
        std::optional<RowEdit> row;
    };
    struct HistoryStep {
        QString name;
        int variant = -1;
        std::vector<Edit> edits;
    };

    void begin(const QString& name, int variant, const void* origin);
    void finish();
    void abandon();
    bool inStep() const { return m_open.has_value(); }
    template <typename Write> auto asStep(const QString& name, int variant, const void* origin, Write write);

    ColumnEdit& columnEdit(CaseTable table, const QString& column);
    void noteChange(CaseTable table, qint64 key, int kind);
    bool writeCell(CaseTable table, const QString& column, qint64 key, const QVariant& value);
    void applyColumn(const ColumnEdit& edit, bool forward);
    void applyRow(const RowEdit& edit, bool forward);
    void replay(const HistoryStep& step, bool forward);
    void replayStep(int index, bool forward);
    void commitAndAnnounce(CaseChange change, int newIndex, std::optional<HistoryStep> newStep);
    void rollBackQuietly();

    QString tableName(CaseTable table) const;
    QString keyColumn(CaseTable table);
    QStringList columnsOf(CaseTable table);
    // The item share column of the variant; empty in a working copy made without them.
    QString itemShareColumn(int variant);
    // Clears the item's share in the variant, inside the open step.
    void clearItemShare(int variant, qint64 key);
    // Clears every share of the variant inside the open step.
    void gatherShares(int variant);
    std::optional<std::vector<QVariant>> readRow(CaseTable table, qint64 key, const QStringList& columns);

    Database& m_db;
    std::vector<HistoryStep> m_history;
    int m_index = 0;      // steps applied
    int m_cleanIndex = 0; // -1 when the saved state is no longer in the history
    std::map<CaseTable, QString> m_keyColumns;
    std::optional<bool> m_hasItemShares;

    struct OpenStep {
        HistoryStep step;
        CaseChange change;
    };
    std::optional<OpenStep> m_open;
};

} // namespace ravnobor::store
