#include "gui/descriptions/RecordPage.h"

#include "gui/descriptions/MemoText.h"
#include "gui/dialogs/DialogControls.h"
#include "render/TextBytes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QVBoxLayout>

namespace xemap {

namespace {

constexpr int kRecordListWidth = 132;

}  // namespace

bool RecordPage::Field::changedByUser() const { return picked || edit->isModified(); }

std::string RecordPage::Field::value() const { return changedByUser() ? storedBytes(edit->text(), shown) : shown; }

void RecordPage::Field::set(const std::string& bytes)
{
    shown = bytes;
    picked = false;
    edit->setText(displayText(bytes));  // also clears the edit's modified state
}

bool RecordPage::Field::owns(const QObject* object) const { return object == edit || (combo && object == combo); }

RecordPage::RecordPage(RecordPageHost& host, QObject& eventFilter, const PageLayout& layout,
                       std::unique_ptr<RecordAccess> access)
    : host_(host), access_(std::move(access))
{
    page_ = new QWidget;
    page_->setObjectName(QString(layout.captions.caption) + "Page");

    // Created in tab order: entry fields, check box, memo, buttons.
    auto* heading = namedLabel(page_, QString(layout.captions.listName) + "Label", layout.captions.heading);
    list_ = new QListWidget(page_);
    list_->setObjectName(layout.captions.listName);
    list_->setFocusPolicy(Qt::ClickFocus);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setFixedWidth(kRecordListWidth);

    auto* fieldRows = new QFormLayout;
    fieldRows->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fieldRows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (const PageLayout::Field& fieldLayout : layout.fields) {
        Field field;
        QWidget* control = nullptr;
        if (fieldLayout.suggestions.empty()) {
            field.edit = new QLineEdit(page_);
            control = field.edit;
        } else {
            field.combo = new QComboBox(page_);
            field.combo->setEditable(true);
            field.combo->setInsertPolicy(QComboBox::NoInsert);
            // Typed text is stored exactly as typed: no completion rewrites it.
            field.combo->setCompleter(nullptr);
            for (std::string_view entry : fieldLayout.suggestions)
                field.combo->addItem(QString::fromUtf8(entry.data(), qsizetype(entry.size())));
            field.combo->setCurrentIndex(-1);
            field.edit = field.combo->lineEdit();
            control = field.combo;
        }
        control->setObjectName(fieldLayout.objectName);
        auto* label = namedLabel(page_, QString(fieldLayout.objectName) + "Label", fieldLayout.label);
        label->setBuddy(control);
        fieldRows->addRow(label, control);
        fields_.push_back(field);
    }
    if (layout.moveable) {
        moveable_ = new QCheckBox("can be taken", page_);
        moveable_->setObjectName("ItemMoveable");
        moveable_->setChecked(true);
        fieldRows->addRow(QString(), moveable_);
    }
    auto* memoLabel = namedLabel(page_, QString(layout.captions.memoName) + "Label", layout.captions.memoLabel);
    memo_ = new QPlainTextEdit(page_);
    memo_->setObjectName(layout.captions.memoName);
    memo_->setTabChangesFocus(true);
    memoLabel->setBuddy(memo_);

    auto* add = namedButton(page_, layout.captions.addName, "Add");
    remove_ = namedButton(page_, layout.captions.removeName, "Remove");
    remove_->setEnabled(false);  // until the page's first Add
    auto* newRecord = namedButton(page_, layout.captions.newName, layout.captions.newText);

    auto* left = new QVBoxLayout;
    left->addWidget(heading);
    left->addWidget(list_, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(fieldRows);
    right->addWidget(memoLabel);
    right->addWidget(memo_, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove_);
    buttons->addWidget(newRecord);
    buttons->addStretch(1);
    auto* outer = new QVBoxLayout(page_);
    outer->addLayout(top, 1);
    outer->addLayout(buttons);

    // The selection, not the current row: a click moves the current row before it selects.
    QObject::connect(list_, &QListWidget::itemSelectionChanged, page_, [this] { ListClick(); });
    QObject::connect(add, &QPushButton::clicked, page_, [this] { AddClick(); });
    QObject::connect(remove_, &QPushButton::clicked, page_, [this] { RemoveClick(); });
    QObject::connect(newRecord, &QPushButton::clicked, page_, [this] { clear(false); });
    for (Field& field : fields_) {
        field.edit->installEventFilter(&eventFilter);
        if (field.combo) {
            field.combo->installEventFilter(&eventFilter);
            QObject::connect(field.combo, &QComboBox::textActivated, page_, [this, combo = field.combo] {
                for (Field& f : fields_)
                    if (f.combo == combo)
                        f.picked = true;
            });
        }
    }
    memo_->installEventFilter(&eventFilter);
    if (moveable_)
        moveable_->installEventFilter(&eventFilter);
}

int RecordPage::selectedRow() const
{
    const QList<QListWidgetItem*> chosen = list_->selectedItems();
    return chosen.isEmpty() ? -1 : list_->row(chosen.front());
}

int RecordPage::fieldIndexOf(const QObject* object) const
{
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].owns(object))
            return int(i);
    return object == memo_ ? int(fields_.size()) : -1;
}

void RecordPage::fillList()
{
    const QSignalBlocker blocker(list_);
    list_->clear();
    const XETile& tile = host_.workingTile();
    for (int row = 0; row < access_->count(tile); ++row)
        list_->addItem(displayText(access_->entryText(tile, row)));
}

void RecordPage::commit(int index, int row)
{
    XETile& tile = host_.workingTile();
    if (index == int(fields_.size())) {
        if (memo_->document()->isModified()) {
            StringList lines = memoLines(memo_, memoShown_);
            host_.editRecord(*access_, row, [&] { access_->text(tile, row) = std::move(lines); });
        }
        return;
    }
    const Field& field = fields_[index];
    if (!field.changedByUser())
        return;
    host_.editRecord(*access_, row, [&] { access_->field(tile, row, index) = field.value(); });
    if (index == 0)
        list_->item(row)->setText(field.edit->text());
}

void RecordPage::commitMoveable()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    bool& stored = *access_->moveable(host_.workingTile(), row);
    if (stored != moveable_->isChecked())
        host_.editRecord(*access_, row, [&] { stored = moveable_->isChecked(); });
}

void RecordPage::clear(bool moveable)
{
    for (Field& field : fields_)
        field.set({});
    memoShown_.clear();
    showMemo(memo_, memoShown_);
    const QSignalBlocker blocker(list_);
    list_->clearSelection();
    list_->setCurrentRow(-1);
    if (moveable_)
        moveable_->setChecked(moveable);
}

void RecordPage::ListClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    XETile& tile = host_.workingTile();
    for (std::size_t i = 0; i < fields_.size(); ++i)
        fields_[i].set(access_->field(tile, row, int(i)));
    memoShown_ = access_->text(tile, row);
    showMemo(memo_, memoShown_);
    if (moveable_)
        moveable_->setChecked(*access_->moveable(tile, row));
}

void RecordPage::AddClick()
{
    std::vector<std::string> values;
    for (const Field& field : fields_)
        values.push_back(field.value());
    access_->append(host_.workingTile(), values, memoLines(memo_, memoShown_), moveable_ && moveable_->isChecked());
    list_->addItem(fields_.front().edit->text());
    clear();
    remove_->setEnabled(true);
}

void RecordPage::RemoveClick()
{
    const int row = selectedRow();
    // The button stays enabled while nothing is selected; then there is nothing to remove.
    if (row < 0)
        return;
    access_->removeAt(host_.workingTile(), row);
    {
        const QSignalBlocker blocker(list_);
        delete list_->takeItem(row);
    }
    clear();
    if (list_->count() == 0) {
        // Disabling the focused button would hand the focus to New, where a space presses it.
        if (remove_->hasFocus())
            fields_.front().edit->setFocus(Qt::OtherFocusReason);
        remove_->setEnabled(false);
    }
}

}  // namespace xemap
