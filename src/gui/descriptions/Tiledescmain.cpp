#include "gui/descriptions/Tiledescmain.h"

#include "core/descriptions/RecordFields.h"
#include "core/descriptions/Vocabularies.h"
#include "gui/descriptions/Changeidformmain.h"
#include "gui/dialogs/DialogControls.h"
#include "gui/dialogs/Prompter.h"
#include "render/TextBytes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <span>
#include <string_view>
#include <type_traits>

namespace xemap {

namespace {

constexpr QSize kFormSize{460, 420};
constexpr QPoint kOffsetFromMainWindow{100, 100};
constexpr int kRecordListWidth = 132;

// A memo's lines travel as one text, so that the whole memo is shown and stored one way.
// Unlike a TMX text, every line break parts two lines: an empty memo has no lines, and a
// memo ending in a line break ends in an empty line.
std::string joinedMemoLines(const StringList& lines)
{
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += '\n';
        joined += lines[i];
    }
    return joined;
}

StringList memoLinesOf(const std::string& text)
{
    StringList lines;
    if (text.empty())
        return lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

void showMemo(QPlainTextEdit* memo, const StringList& lines)
{
    memo->setPlainText(displayText(joinedMemoLines(lines)));
    memo->document()->setModified(false);
}

// The memo's text as typed. Unlike toPlainText it keeps no-break spaces, which a
// Latin-1 description holds as ordinary bytes.
QString memoText(const QPlainTextEdit* memo)
{
    QString text = memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

StringList memoLines(const QPlainTextEdit* memo, const StringList& shown)
{
    if (!memo->document()->isModified())
        return shown;
    return memoLinesOf(storedBytes(memoText(memo), joinedMemoLines(shown)));
}

bool isEnterKey(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

// A control that takes typing and that Tab reaches: no button, check box or page tab, so that
// a key typed next never presses anything. Widgets that hand their focus on (a combo box's own
// edit, the page control) are reached through the widget they hand it to.
bool takesTyping(const QWidget* widget)
{
    return widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy()
           && !qobject_cast<const QAbstractButton*>(widget) && !qobject_cast<const QTabBar*>(widget);
}

// A focus change that leaves a field in earnest: not a popup opening over it and not the
// window losing its activation (another dialog on top, or the dialog closing).
bool leavesField(const QFocusEvent* focus)
{
    return focus->reason() != Qt::ActiveWindowFocusReason && focus->reason() != Qt::PopupFocusReason;
}

using Suggestions = std::span<const std::string_view>;

struct FieldDef {
    const char* label;
    const char* objectName;
    Suggestions suggestions;  // empty for a plain edit field
};

struct PageDef {
    const char* caption;
    const char* listName;
    const char* heading;
    std::vector<FieldDef> fields;
    const char* memoLabel;
    const char* memoName;
    const char* addName;
    const char* removeName;
    const char* newName;
    const char* newText;
};

// How a page reaches its kind of record in a description, field by field in the page's order.
class RecordAccess {
public:
    virtual ~RecordAccess() = default;
    virtual int count(const XETile& tile) const = 0;
    virtual std::string entryText(const XETile& tile, int row) const = 0;
    virtual std::string& field(XETile& tile, int row, int index) const = 0;
    virtual StringList& text(XETile& tile, int row) const = 0;
    virtual bool* moveable(XETile& tile, int row) const = 0;  // items only
    virtual void append(XETile& tile, const std::vector<std::string>& fields, StringList text, bool moveable) const = 0;
    virtual void removeAt(XETile& tile, int row) const = 0;
    // Whether the record at row of tile is also one of other's records.
    virtual bool shares(const XETile& tile, int row, const XETile& other) const = 0;
};

// The page's fields are the record's name, then its stored fields in file order.
template <class Kind>
class RecordsOf final : public RecordAccess {
    using Record = typename Kind::Record;

public:
    RecordsOf()
    {
        fields_.push_back(&Record::name);
        fields_.insert(fields_.end(), Kind::stored.begin(), Kind::stored.end());
    }

    int count(const XETile& tile) const override { return int((tile.*records_).size()); }
    std::string entryText(const XETile& tile, int row) const override
    {
        const Record& record = *(tile.*records_).at(row);
        if constexpr (std::is_same_v<Record, XECreature>) {
            // A creature without a name is known by its type.
            if (record.name.empty())
                return record.type;
        }
        return record.name;
    }
    std::string& field(XETile& tile, int row, int index) const override
    {
        return (*(tile.*records_).at(row)).*fields_.at(index);
    }
    StringList& text(XETile& tile, int row) const override { return (tile.*records_).at(row)->text; }
    bool shares(const XETile& tile, int row, const XETile& other) const override
    {
        const RecordList<Record>& others = other.*records_;
        return std::find(others.begin(), others.end(), (tile.*records_).at(row)) != others.end();
    }
    bool* moveable(XETile& tile, int row) const override
    {
        if constexpr (std::is_same_v<Record, XEItem>)
            return &(tile.*records_).at(row)->moveable;
        else
            return nullptr;
    }
    void append(XETile& tile, const std::vector<std::string>& fields, StringList text, bool moveable) const override
    {
        auto record = std::make_shared<Record>();
        for (std::size_t i = 0; i < fields_.size(); ++i)
            (*record).*fields_[i] = fields.at(i);
        record->text = std::move(text);
        if constexpr (std::is_same_v<Record, XEItem>)
            record->moveable = moveable;
        (tile.*records_).push_back(std::move(record));
    }
    void removeAt(XETile& tile, int row) const override
    {
        auto& list = tile.*records_;
        list.erase(list.begin() + row);
    }

private:
    static constexpr auto records_ = Kind::records;
    std::vector<std::string Record::*> fields_;
};

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

}  // namespace

// One record page: its controls, the bytes each field was last set from, and its handlers.
class TTileDescForm::RecordPage {
public:
    struct Field {
        QLineEdit* edit = nullptr;  // the edit itself, or the combo box's edit
        QComboBox* combo = nullptr;
        std::string shown;    // the bytes the field was last set from
        bool picked = false;  // a combo entry chosen by the user since then

        bool changedByUser() const { return picked || edit->isModified(); }
        std::string value() const { return changedByUser() ? storedBytes(edit->text(), shown) : shown; }
        void set(const std::string& bytes)
        {
            shown = bytes;
            picked = false;
            edit->setText(displayText(bytes));  // also clears the edit's modified state
        }
        bool owns(const QObject* object) const { return object == edit || (combo && object == combo); }
    };

    RecordPage(TTileDescForm& form, const PageDef& def, std::unique_ptr<RecordAccess> access)
        : form_(form), access_(std::move(access))
    {
        page = new QWidget;
        page->setObjectName(QString(def.caption) + "Page");

        // Created in tab order: entry fields, check box, memo, buttons.
        auto* heading = makeLabel(page, QString(def.listName) + "Label", def.heading);
        list = new QListWidget(page);
        list->setObjectName(def.listName);
        list->setFocusPolicy(Qt::ClickFocus);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setFixedWidth(kRecordListWidth);

        auto* form_layout = new QFormLayout;
        form_layout->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        form_layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        for (const FieldDef& fieldDef : def.fields) {
            Field field;
            QWidget* control = nullptr;
            if (fieldDef.suggestions.empty()) {
                field.edit = new QLineEdit(page);
                control = field.edit;
            } else {
                field.combo = new QComboBox(page);
                field.combo->setEditable(true);
                field.combo->setInsertPolicy(QComboBox::NoInsert);
                // Typed text is stored exactly as typed: no completion rewrites it.
                field.combo->setCompleter(nullptr);
                for (std::string_view entry : fieldDef.suggestions)
                    field.combo->addItem(QString::fromUtf8(entry.data(), qsizetype(entry.size())));
                field.combo->setCurrentIndex(-1);
                field.edit = field.combo->lineEdit();
                control = field.combo;
            }
            control->setObjectName(fieldDef.objectName);
            auto* label = makeLabel(page, QString(fieldDef.objectName) + "Label", fieldDef.label);
            label->setBuddy(control);
            form_layout->addRow(label, control);
            fields.push_back(field);
        }
        if (std::string_view(def.listName) == "ItemList") {
            moveable = new QCheckBox("can be taken", page);
            moveable->setObjectName("ItemMoveable");
            moveable->setChecked(true);
            form_layout->addRow(QString(), moveable);
        }
        auto* memoLabel = makeLabel(page, QString(def.memoName) + "Label", def.memoLabel);
        memo = new QPlainTextEdit(page);
        memo->setObjectName(def.memoName);
        memo->setTabChangesFocus(true);
        memoLabel->setBuddy(memo);

        add = makeButton(page, def.addName, "Add");
        remove = makeButton(page, def.removeName, "Remove");
        remove->setEnabled(false);  // until the page's first Add
        newRecord = makeButton(page, def.newName, def.newText);

        auto* left = new QVBoxLayout;
        left->addWidget(heading);
        left->addWidget(list, 1);
        auto* right = new QVBoxLayout;
        right->addLayout(form_layout);
        right->addWidget(memoLabel);
        right->addWidget(memo, 1);
        auto* top = new QHBoxLayout;
        top->addLayout(left);
        top->addLayout(right, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(add);
        buttons->addWidget(remove);
        buttons->addWidget(newRecord);
        buttons->addStretch(1);
        auto* outer = new QVBoxLayout(page);
        outer->addLayout(top, 1);
        outer->addLayout(buttons);

        // The selection, not the current row: a click moves the current row before it selects.
        QObject::connect(list, &QListWidget::itemSelectionChanged, page, [this] { ListClick(); });
        QObject::connect(add, &QPushButton::clicked, page, [this] { AddClick(); });
        QObject::connect(remove, &QPushButton::clicked, page, [this] { RemoveClick(); });
        QObject::connect(newRecord, &QPushButton::clicked, page, [this] { NewClick(); });
        for (Field& field : fields) {
            field.edit->installEventFilter(&form);
            if (field.combo) {
                field.combo->installEventFilter(&form);
                QComboBox* combo = field.combo;
                QObject::connect(combo, &QComboBox::textActivated, page, [this, combo] {
                    for (Field& f : fields)
                        if (f.combo == combo)
                            f.picked = true;
                });
            }
        }
        memo->installEventFilter(&form);
        if (moveable)
            moveable->installEventFilter(&form);
    }

    int selectedRow() const
    {
        const QList<QListWidgetItem*> chosen = list->selectedItems();
        return chosen.isEmpty() ? -1 : list->row(chosen.front());
    }

    // Index of the field that object belongs to, fields.size() for the memo, -1 for neither.
    int fieldIndexOf(const QObject* object) const
    {
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i].owns(object))
                return int(i);
        return object == memo ? int(fields.size()) : -1;
    }

    // Empties the list box and fills it from the working description.
    void fillList()
    {
        const QSignalBlocker blocker(list);
        list->clear();
        const XETile& tile = *form_.working_;
        for (int row = 0; row < access_->count(tile); ++row)
            list->addItem(displayText(access_->entryText(tile, row)));
    }

    // Stores one edited field into the record at row.
    void commit(int index, int row)
    {
        XETile& tile = *form_.working_;
        if (index == int(fields.size())) {
            if (memo->document()->isModified()) {
                access_->text(tile, row) = memoLines(memo, memoShown);
                noteEdit(row);
            }
            return;
        }
        const Field& field = fields[index];
        if (!field.changedByUser())
            return;
        access_->field(tile, row, index) = field.value();
        noteEdit(row);
        if (index == 0)
            list->item(row)->setText(field.edit->text());
    }

    void commitMoveable()
    {
        const int row = selectedRow();
        if (row < 0)
            return;
        bool& stored = *access_->moveable(*form_.working_, row);
        if (stored != moveable->isChecked()) {
            stored = moveable->isChecked();
            noteEdit(row);
        }
    }

    // An edit of a record the cell's description already held has reached the document.
    void noteEdit(int row)
    {
        if (form_.original_ && access_->shares(*form_.working_, row, *form_.original_))
            form_.changedTheDocument_ = true;
    }

    void clear(bool checked = true)
    {
        for (Field& field : fields)
            field.set({});
        memoShown.clear();
        showMemo(memo, memoShown);
        const QSignalBlocker blocker(list);
        list->clearSelection();
        list->setCurrentRow(-1);
        if (moveable)
            moveable->setChecked(checked);
    }

    void ListClick()
    {
        const int row = selectedRow();
        if (row < 0)
            return;
        XETile& tile = *form_.working_;
        for (std::size_t i = 0; i < fields.size(); ++i)
            fields[i].set(access_->field(tile, row, int(i)));
        memoShown = access_->text(tile, row);
        showMemo(memo, memoShown);
        if (moveable)
            moveable->setChecked(*access_->moveable(tile, row));
    }

    void AddClick()
    {
        std::vector<std::string> values;
        for (const Field& field : fields)
            values.push_back(field.value());
        access_->append(*form_.working_, values, memoLines(memo, memoShown), moveable && moveable->isChecked());
        list->addItem(fields.front().edit->text());
        clear();
        remove->setEnabled(true);
    }

    void RemoveClick()
    {
        const int row = selectedRow();
        // The button stays enabled while nothing is selected; then there is nothing to remove.
        if (row < 0)
            return;
        access_->removeAt(*form_.working_, row);
        {
            const QSignalBlocker blocker(list);
            delete list->takeItem(row);
        }
        clear();
        if (list->count() == 0) {
            // Disabling the focused button would hand the focus to New, where a space presses it.
            if (remove->hasFocus())
                fields.front().edit->setFocus(Qt::OtherFocusReason);
            remove->setEnabled(false);
        }
    }

    void NewClick() { clear(false); }

    QWidget* page = nullptr;
    QListWidget* list = nullptr;
    std::vector<Field> fields;
    QPlainTextEdit* memo = nullptr;
    StringList memoShown;
    QCheckBox* moveable = nullptr;
    QPushButton* add = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* newRecord = nullptr;

private:
    TTileDescForm& form_;
    std::unique_ptr<RecordAccess> access_;
};

TTileDescForm::TTileDescForm(Prompter& prompter, TChangeIDForm& changeId, QWidget* parent)
    : QDialog(parent), prompter_(prompter), changeId_(changeId), working_(std::make_shared<XETile>())
{
    setObjectName("TileDescForm");
    setWindowTitle("Describe Tile");

    auto* locLabel = makeLabel(this, "Label2", "Location ID");
    LocID = new QLineEdit("1", this);
    LocID->setObjectName("LocID");
    LocID->setReadOnly(true);
    LocID->setEnabled(false);
    LocID->setFocusPolicy(Qt::NoFocus);
    LocID->setFixedWidth(48);
    ChangeID = makeButton(this, "ChangeID", "Change");
    auto* nameLabel = makeLabel(this, "Label1", "Short Name");
    TileName = new QLineEdit(this);
    TileName->setObjectName("TileName");
    nameLabel->setBuddy(TileName);
    auto* doneButton = makeButton(this, "BitBtn1", "Done");
    auto* cancel = makeButton(this, "BitBtn2", "Cancel");
    auto* removeAll = makeButton(this, "BitBtn3", "Remove All");

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    auto* descriptionPage = new QWidget;
    descriptionPage->setObjectName("DescriptionPage");
    auto* areaLabel = makeLabel(descriptionPage, "Label3", "Area Description:");
    TileTextBox = new QPlainTextEdit(descriptionPage);
    TileTextBox->setObjectName("TileTextBox");
    TileTextBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TileTextBox->setTabChangesFocus(true);
    areaLabel->setBuddy(TileTextBox);
    auto* descriptionLayout = new QVBoxLayout(descriptionPage);
    descriptionLayout->addWidget(areaLabel);
    descriptionLayout->addWidget(TileTextBox, 1);
    PageControl1->addTab(descriptionPage, "Description");
    buildPages();

    auto* top = new QHBoxLayout;
    top->addWidget(locLabel);
    top->addWidget(LocID);
    top->addWidget(ChangeID);
    top->addSpacing(12);
    top->addWidget(nameLabel);
    top->addWidget(TileName, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(removeAll);
    bottom->addStretch(1);
    bottom->addWidget(cancel);
    bottom->addWidget(doneButton);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addWidget(PageControl1, 1);
    outer->addLayout(bottom);

    setTabOrder(ChangeID, TileName);
    setTabOrder(TileName, doneButton);
    setTabOrder(doneButton, cancel);
    setTabOrder(cancel, removeAll);
    setTabOrder(removeAll, PageControl1);

    connect(ChangeID, &QPushButton::clicked, this, &TTileDescForm::ChangeIDClick);
    connect(doneButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(removeAll, &QPushButton::clicked, this, [this] { done(RemoveAllResult); });
    connect(qApp, &QApplication::focusChanged, this, &TTileDescForm::PageExit);
    TileName->installEventFilter(this);
    TileTextBox->installEventFilter(this);
    // No button is the default one: Enter presses only a button the user moved the focus to.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);

    resize(kFormSize.expandedTo(minimumSizeHint()));
}

TTileDescForm::~TTileDescForm() = default;

void TTileDescForm::buildPages()
{
    using namespace vocabulary;
    const Suggestions plain;
    const PageDef npcs{"NPCs",
                       "NPCList",
                       "NPCs Present:",
                       {{"Name", "NPCName", plain},
                        {"Align", "NPCAlign", kAlignments},
                        {"Race", "NPCRace", kRaces},
                        {"Class", "NPCClass", kClasses},
                        {"Script", "NPCScript", plain}},
                       "Description",
                       "NPCText",
                       "NPCAdd",
                       "NPCRemove",
                       "NPCNew",
                       "New NPC"};
    const PageDef creatures{"Creatures",
                            "CreatureList",
                            "Creatures Present:",
                            {{"Name", "CreatName", plain},
                             {"Type", "CreatType", plain},
                             {"Weapon", "CreatWeapon", plain},
                             {"Armor", "CreatArmor", plain},
                             {"Script", "CreatScript", plain}},
                            "Notes:",
                            "CreatText",
                            "CreatAdd",
                            "CreatRemove",
                            "CreatNew",
                            "New Creature"};
    const PageDef items{
        "Items",          "ItemList",
        "Items Present:", {{"Name", "ItemName", plain}, {"Value", "ItemValue", plain}, {"Script", "ItemScript", plain}},
        "Notes:",         "ItemText",
        "ItemAdd",        "ItemRemove",
        "ItemNew",        "New Item"};
    const PageDef events{"Events",
                         "EventList",
                         "Events Present:",
                         {{"Name", "EventName", plain},
                          {"Location", "EventLocation", kEventLocations},
                          {"Trigger", "EventTrigger", kEventTriggers},
                          {"Script", "EventScript", plain}},
                         "Notes:",
                         "EventText",
                         "EventAdd",
                         "EventRemove",
                         "EventNew",
                         "New Event"};
    const PageDef portals{"Portals",
                          "PortalList",
                          "Portals Present:",
                          {{"Name", "PortalName", plain},
                           {"Location", "PortalLocation", kPortalLocations},
                           {"Target Map", "PortalMap", plain},
                           {"Target Tile", "PortalTile", plain},
                           {"Restrictions", "PortalLevel", plain}},
                          "Notes:",
                          "PortalText",
                          "PortalAdd",
                          "PortalRemove",
                          "PortalNew",
                          "New Portal"};

    auto add = [this](const PageDef& def, std::unique_ptr<RecordAccess> access) {
        pages_.push_back(std::make_unique<RecordPage>(*this, def, std::move(access)));
        PageControl1->addTab(pages_.back()->page, def.caption);
    };
    add(npcs, std::make_unique<RecordsOf<RecordKind<XENPC>>>());
    add(creatures, std::make_unique<RecordsOf<RecordKind<XECreature>>>());
    add(items, std::make_unique<RecordsOf<RecordKind<XEItem>>>());
    add(events, std::make_unique<RecordsOf<RecordKind<XEEvent>>>());
    add(portals, std::make_unique<RecordsOf<RecordKind<XEPortal>>>());
    ItemMoveable = pages_[2]->moveable;
}

void TTileDescForm::FormShow(const DescriptionList& list, int cellIndex)
{
    list_ = &list;
    PageControl1->setCurrentIndex(0);
    const std::optional<int> found = list.find(cellIndex);
    int position = list.size();
    changedTheDocument_ = false;
    original_.reset();
    if (found) {
        position = *found;
        original_ = list.at(position);
        working_ = original_->copy();
    } else {
        working_ = std::make_shared<XETile>();
        working_->cellIndex = cellIndex;
    }
    LocID->setText(QString::number(locationIdOf(position)));
    tileNameShown_ = working_->shortName;
    TileName->setText(displayText(tileNameShown_));
    areaTextShown_ = working_->areaText;
    showMemo(TileTextBox, areaTextShown_);
    for (const auto& page : pages_)
        page->fillList();
    // Typing goes into the short name, whatever held the focus when the dialog last closed.
    TileName->setFocus(Qt::OtherFocusReason);
    if (parentWidget())
        placeOnScreen(*this, parentWidget()->pos() + kOffsetFromMainWindow);
}

int TTileDescForm::locationId() const { return LocID->text().toInt(); }

TTileDescForm::RecordPage* TTileDescForm::selectedPage(int* row) const
{
    for (const auto& page : pages_) {
        const int selected = page->selectedRow();
        if (selected >= 0) {
            *row = selected;
            return page.get();
        }
    }
    return nullptr;
}

void TTileDescForm::CustomEditExit(QObject* field)
{
    if (field == TileName) {
        if (TileName->isModified())
            working_->shortName = storedBytes(TileName->text(), tileNameShown_);
        return;
    }
    if (field == TileTextBox) {
        working_->areaText = memoLines(TileTextBox, areaTextShown_);
        return;
    }
    // Typing on a page with no record selected is kept as input for the next Add.
    int row = -1;
    RecordPage* selected = selectedPage(&row);
    if (!selected)
        return;
    const int index = selected->fieldIndexOf(field);
    if (index >= 0)
        selected->commit(index, row);
}

void TTileDescForm::ItemMoveableExit() { pages_[2]->commitMoveable(); }

void TTileDescForm::PageExit(QWidget* old, QWidget* now)
{
    // Focus that goes nowhere, or to another window, is the dialog losing activation.
    if (!old || !now || now->window() != this)
        return;
    for (const auto& page : pages_)
        if (page->page->isAncestorOf(old) && !page->page->isAncestorOf(now))
            page->clear();
}

bool TTileDescForm::TEditKeyPress(QObject* field, QKeyEvent* key)
{
    if (!isEnterKey(key) || !(qobject_cast<QLineEdit*>(field) || qobject_cast<QComboBox*>(field)))
        return false;
    // Enter moves on like Tab, so that the field's commit runs, but only to where typing goes.
    auto* from = static_cast<QWidget*>(field);
    for (QWidget* next = from->nextInFocusChain(); next != from; next = next->nextInFocusChain()) {
        if (takesTyping(next) && !from->isAncestorOf(next)) {
            next->setFocus(Qt::TabFocusReason);
            break;
        }
    }
    return true;
}

void TTileDescForm::ChangeIDClick()
{
    if (!list_)
        return;
    changeId_.FormShow(*list_);
    const int result = prompter_.exec(changeId_);
    const int row = changeId_.selectedRow();
    if (result == QDialog::Accepted && row >= 0)
        LocID->setText(QString::number(locationIdOf(row)));
}

bool TTileDescForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && leavesField(static_cast<QFocusEvent*>(event))) {
        if (watched == ItemMoveable)
            ItemMoveableExit();
        else
            CustomEditExit(watched);
    } else if (event->type() == QEvent::KeyPress && TEditKeyPress(watched, static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TTileDescForm::keyPressEvent(QKeyEvent* event)
{
    // Enter confirms nothing by itself; on a button the user tabbed or clicked to, it presses it.
    // Escape still cancels.
    if (isEnterKey(event)) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace xemap
