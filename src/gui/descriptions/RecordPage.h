#pragma once

#include "core/descriptions/RecordAccess.h"
#include "core/descriptions/RecordFields.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QObject;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace xemap {

using Suggestions = std::span<const std::string_view>;

// The control of one stored field: its object name, and the entries a combo box offers
// (none: a plain edit field). It has no default, so that a page that names fewer controls
// than its record kind has stored fields does not compile.
struct FieldControl {
    FieldControl(const char* objectName, Suggestions suggestions = {})
        : objectName(objectName), suggestions(suggestions)
    {
    }
    const char* objectName;
    Suggestions suggestions;
};

// What a record page names and shows besides its fields.
struct PageCaptions {
    const char* caption;
    const char* listName;
    const char* heading;
    const char* memoLabel;
    const char* memoName;
    const char* addName;
    const char* removeName;
    const char* newName;
    const char* newText;
};

// A record page's own names; the fields' labels come from the record kind.
template <class Table>
struct PageNames {
    using Kind = Table;
    PageCaptions captions;
    const char* nameField;
    std::array<FieldControl, Kind::stored.size()> stored;
};

// A page as it is laid out: the record's name field first, then its stored fields.
struct PageLayout {
    struct Field {
        QString label;
        const char* objectName;
        Suggestions suggestions;
    };
    PageCaptions captions;
    std::vector<Field> fields;
    bool moveable;  // the item page's "can be taken"
};

template <class Kind>
PageLayout pageLayout(const PageNames<Kind>& names)
{
    PageLayout layout{names.captions, {{"Name", names.nameField, {}}}, std::is_same_v<typename Kind::Record, XEItem>};
    for (std::size_t i = 0; i < Kind::stored.size(); ++i) {
        const std::string_view label = Kind::storedNames[i];
        layout.fields.push_back({QString::fromUtf8(label.data(), qsizetype(label.size())), names.stored[i].objectName,
                                 names.stored[i].suggestions});
    }
    return layout;
}

// What a page edits: the dialog's working description, whose records it changes only
// through editRecord, which makes the edit the map's when the record is the map's too.
class RecordPageHost {
public:
    virtual XETile& workingTile() = 0;
    virtual void editRecord(const RecordAccess& records, int row, const std::function<void()>& edit) = 0;

protected:
    ~RecordPageHost() = default;
};

// One record page of the Describe Tile dialog: the list of one kind of record, its fields,
// and Add, Remove and New. Fields are stored when the user leaves them (commit).
class RecordPage {
public:
    RecordPage(RecordPageHost& host, QObject& eventFilter, const PageLayout& layout,
               std::unique_ptr<RecordAccess> access);

    QWidget* widget() const { return page_; }
    QCheckBox* moveableBox() const { return moveable_; }

    int selectedRow() const;
    // Index of the field that object belongs to, the field count for the memo, -1 for neither.
    int fieldIndexOf(const QObject* object) const;
    // Empties the list box and fills it from the working description.
    void fillList();
    // Stores one edited field into the record at row.
    void commit(int index, int row);
    void commitMoveable();
    // Empties the fields and the selection; "can be taken" as given.
    void clear(bool moveable = true);

private:
    struct Field {
        QLineEdit* edit = nullptr;  // the edit itself, or the combo box's edit
        QComboBox* combo = nullptr;
        std::string shown;    // the bytes the field was last set from
        bool picked = false;  // a combo entry chosen by the user since then

        bool changedByUser() const;
        std::string value() const;
        void set(const std::string& bytes);
        bool owns(const QObject* object) const;
    };

    void ListClick();
    void AddClick();
    void RemoveClick();

    RecordPageHost& host_;
    std::unique_ptr<RecordAccess> access_;
    QWidget* page_ = nullptr;
    QListWidget* list_ = nullptr;
    std::vector<Field> fields_;
    QPlainTextEdit* memo_ = nullptr;
    StringList memoShown_;
    QCheckBox* moveable_ = nullptr;
    QPushButton* remove_ = nullptr;
};

}  // namespace xemap
