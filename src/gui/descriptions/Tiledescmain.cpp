#include "gui/descriptions/Tiledescmain.h"

#include "core/descriptions/RecordFields.h"
#include "core/descriptions/Vocabularies.h"
#include "gui/descriptions/Changeidformmain.h"
#include "gui/descriptions/MemoText.h"
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

}  // namespace

TTileDescForm::TTileDescForm(Prompter& prompter, TChangeIDForm& changeId, QWidget* parent)
    : QDialog(parent), prompter_(prompter), changeId_(changeId), working_(std::make_shared<XETile>())
{
    setObjectName("TileDescForm");
    setWindowTitle("Describe Tile");

    auto* locLabel = namedLabel(this, "Label2", "Location ID");
    LocID = new QLineEdit("1", this);
    LocID->setObjectName("LocID");
    LocID->setReadOnly(true);
    LocID->setEnabled(false);
    LocID->setFocusPolicy(Qt::NoFocus);
    LocID->setFixedWidth(48);
    ChangeID = namedButton(this, "ChangeID", "Change");
    auto* nameLabel = namedLabel(this, "Label1", "Short Name");
    TileName = new QLineEdit(this);
    TileName->setObjectName("TileName");
    nameLabel->setBuddy(TileName);
    auto* doneButton = namedButton(this, "BitBtn1", "Done");
    auto* cancel = namedButton(this, "BitBtn2", "Cancel");
    auto* removeAll = namedButton(this, "BitBtn3", "Remove All");

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    auto* descriptionPage = new QWidget;
    descriptionPage->setObjectName("DescriptionPage");
    auto* areaLabel = namedLabel(descriptionPage, "Label3", "Area Description:");
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
    const PageNames<RecordKind<XENPC>> npcs{
        {"NPCs", "NPCList", "NPCs Present:", "Description", "NPCText", "NPCAdd", "NPCRemove", "NPCNew", "New NPC"},
        "NPCName",
        {{{"NPCAlign", kAlignments}, {"NPCRace", kRaces}, {"NPCClass", kClasses}, {"NPCScript"}}}};
    const PageNames<RecordKind<XECreature>> creatures{
        {"Creatures", "CreatureList", "Creatures Present:", "Notes:", "CreatText", "CreatAdd", "CreatRemove",
         "CreatNew", "New Creature"},
        "CreatName",
        {{{"CreatType"}, {"CreatWeapon"}, {"CreatArmor"}, {"CreatScript"}}}};
    const PageNames<RecordKind<XEItem>> items{
        {"Items", "ItemList", "Items Present:", "Notes:", "ItemText", "ItemAdd", "ItemRemove", "ItemNew", "New Item"},
        "ItemName",
        {{{"ItemValue"}, {"ItemScript"}}}};
    const PageNames<RecordKind<XEEvent>> events{
        {"Events", "EventList", "Events Present:", "Notes:", "EventText", "EventAdd", "EventRemove", "EventNew",
         "New Event"},
        "EventName",
        {{{"EventLocation", kEventLocations}, {"EventTrigger", kEventTriggers}, {"EventScript"}}}};
    const PageNames<RecordKind<XEPortal>> portals{
        {"Portals", "PortalList", "Portals Present:", "Notes:", "PortalText", "PortalAdd", "PortalRemove", "PortalNew",
         "New Portal"},
        "PortalName",
        {{{"PortalLocation", kPortalLocations}, {"PortalMap"}, {"PortalTile"}, {"PortalLevel"}}}};

    auto add = [this](const auto& names) {
        using Kind = typename std::remove_cvref_t<decltype(names)>::Kind;
        pages_.push_back(std::make_unique<RecordPage>(static_cast<RecordPageHost&>(*this), *this, pageLayout(names),
                                                      std::make_unique<RecordsOf<Kind>>()));
        PageControl1->addTab(pages_.back()->widget(), names.captions.caption);
    };
    add(npcs);
    add(creatures);
    add(items);
    add(events);
    add(portals);
    ItemMoveable = pages_[2]->moveableBox();
}

void TTileDescForm::FormShow(EditSession& session, int cellIndex)
{
    session_ = &session;
    const DescriptionList& list = session.document().descriptions;
    PageControl1->setCurrentIndex(0);
    const std::optional<int> found = list.find(cellIndex);
    int position = list.size();
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

void TTileDescForm::editRecord(const RecordAccess& records, int row, const std::function<void()>& edit)
{
    if (original_ && records.shares(*working_, row, *original_))
        session_->editSharedRecord(edit);
    else
        edit();
}

int TTileDescForm::locationId() const { return LocID->text().toInt(); }

RecordPage* TTileDescForm::selectedPage(int* row) const
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
        if (page->widget()->isAncestorOf(old) && !page->widget()->isAncestorOf(now))
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
    if (!session_)
        return;
    changeId_.FormShow(session_->document().descriptions);
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
