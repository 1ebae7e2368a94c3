#pragma once

#include "core/descriptions/DescriptionList.h"
#include "core/editing/EditSession.h"
#include "gui/descriptions/RecordPage.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace xemap {

class Prompter;
class TChangeIDForm;

// Edits a working copy of one cell's description. The caller applies Done and Remove All
// to the document; record field edits reach it at once, because the copy shares its records.
class TTileDescForm : public QDialog, private RecordPageHost {
public:
    static constexpr int RemoveAllResult = 7;  // Done is Accepted, Cancel is Rejected

    TTileDescForm(Prompter& prompter, TChangeIDForm& changeId, QWidget* parent = nullptr);
    ~TTileDescForm() override;

    // The opening steps for cellIndex of the session's map: the working description (a copy of
    // the cell's, or a new empty one), LocID, short name, area text and the five record lists.
    // The record pages' entry fields and Remove buttons keep what they held.
    void FormShow(EditSession& session, int cellIndex);

    const TilePtr& workingDescription() const { return working_; }
    // The number shown in LocID.
    int locationId() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    XETile& workingTile() override { return *working_; }
    // An edit of a record the cell's description holds goes to the map through the session.
    void editRecord(const RecordAccess& records, int row, const std::function<void()>& edit) override;
    void buildPages();
    void CustomEditExit(QObject* field);
    void ItemMoveableExit();
    void PageExit(QWidget* old, QWidget* now);
    bool TEditKeyPress(QObject* field, QKeyEvent* key);
    void ChangeIDClick();

    // The first page, in record order, whose list box has a selected entry, and that row.
    RecordPage* selectedPage(int* row) const;

    Prompter& prompter_;
    TChangeIDForm& changeId_;
    EditSession* session_ = nullptr;
    TilePtr working_;
    TilePtr original_;

    QLineEdit* LocID = nullptr;
    QPushButton* ChangeID = nullptr;
    QLineEdit* TileName = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QPlainTextEdit* TileTextBox = nullptr;
    QCheckBox* ItemMoveable = nullptr;
    // Bytes last set into TileName and TileTextBox, kept so unedited text is never rewritten.
    std::string tileNameShown_;
    StringList areaTextShown_;

    std::vector<std::unique_ptr<RecordPage>> pages_;
};

}  // namespace xemap
