#include "core/descriptions/DescriptionList.h"
#include "gui/descriptions/Changeidformmain.h"
#include "gui/descriptions/Tiledescmain.h"
#include "support/MapTestSupport.h"
#include "support/SessionSetUp.h"
#include "support/WindowTest.h"

using namespace xemap;
using namespace xemap::testing;

namespace {

constexpr int kCell = 5 * 32 + 3;

void activate(QWidget& window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

class TileDescFormTest : public ::testing::Test {
protected:
    TileDescFormTest() { activate(form); }

    template <class W = QWidget>
    W* control(const char* name)
    {
        return form.findChild<W*>(name);
    }
    void open(int cell = kCell) { form.FormShow(session, cell); }
    // Opens the dialog as the map window does: filled while hidden, then shown and active,
    // the map window having taken the activation back in between.
    void reopen()
    {
        form.hide();
        activate(elsewhere);
        open();
        activate(form);
    }
    // Keys typed at the dialog's window reach whatever control has the focus, as the user's do.
    void typeAtWindow(const QString& text)
    {
        for (QChar c : text)
            QTest::keyClick(form.windowHandle(), c.toLatin1());
    }
    void keyAtWindow(Qt::Key key) { QTest::keyClick(form.windowHandle(), key); }
    QWidget* focused() { return QApplication::focusWidget(); }
    void showPage(int index) { control<QTabWidget>("PageControl1")->setCurrentIndex(index); }
    // Types into a field, replacing nothing: the field's text grows by what is typed.
    void type(const char* name, const QString& text)
    {
        control(name)->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(control(name), text);
    }
    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    void select(const char* listName, int row)
    {
        auto* box = control<QListWidget>(listName);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(box->item(row)).center());
    }
    QStringList entries(const char* listName)
    {
        QStringList texts;
        for (int row = 0; row < control<QListWidget>(listName)->count(); ++row)
            texts << control<QListWidget>(listName)->item(row)->text();
        return texts;
    }
    QString text(const char* name)
    {
        auto* combo = control<QComboBox>(name);
        return combo ? combo->currentText() : control<QLineEdit>(name)->text();
    }
    QString memo() { return control<QPlainTextEdit>("TileTextBox")->toPlainText(); }
    const XETile& working() const { return *form.workingDescription(); }

    EditSession session;
    DescriptionList& list = mapToSetUp(session).descriptions;
    ScriptedPrompter prompter;
    TChangeIDForm changeId;
    TTileDescForm form{prompter, changeId};
    QWidget elsewhere;
};

TEST_F(TileDescFormTest, DescribesOneRecordOfEachKindThroughTheControlsAndKeepsLatin1Text)
{
    list.append(describedTile(1, "Gate"));
    open();
    EXPECT_EQ(std::tuple(form.windowTitle(), form.locationId()), std::tuple("Describe Tile", 2));

    type("TileName", "Well");
    type("TileTextBox", "Deep");
    QTest::keyClick(control("TileTextBox"), Qt::Key_Return);
    QTest::keyClicks(control("TileTextBox"), "Dark");
    // One record on each page; the NPC's alignment is stored as typed, no entry forced.
    const StringList values{"true neutral", "Wolf", "5", "Tripwire", "12"};
    const char* fields[] = {"NPCAlign", "CreatType", "ItemValue", "EventTrigger", "PortalTile"};
    const char* adds[] = {"NPCAdd", "CreatAdd", "ItemAdd", "EventAdd", "PortalAdd"};
    for (int page = 1; page <= 5; ++page) {
        showPage(page);
        type(fields[page - 1], QString::fromStdString(values[page - 1]));
        click(adds[page - 1]);
    }

    click("BitBtn1");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const XETile& tile = working();
    EXPECT_EQ(std::tuple(tile.cellIndex, tile.areaText), std::tuple(kCell, StringList{"Deep", "Dark"}));
    EXPECT_EQ((StringList{tile.npcs.at(0)->align, tile.creatures.at(0)->type, tile.items.at(0)->value,
                          tile.events.at(0)->trigger, tile.portals.at(0)->targetTile}),
              values);

    // Stored and reopened; Latin-1 text with its no-break spaces survives an edit.
    list.append(tile.copy());
    reopen();
    EXPECT_EQ(std::tuple(text("TileName"), memo()), std::tuple("Well", "Deep\nDark"));
    list.at(1)->areaText = {"Caf\xe9\xa0Nord", "\xa0"};
    reopen();
    type("TileTextBox", "Le ");  // the cursor starts at the text's start
    click("BitBtn1");
    EXPECT_EQ(working().areaText, (StringList{"Le Caf\xe9\xa0Nord", "\xa0"}));
}

TEST_F(TileDescFormTest, TypingGoesIntoShortNameAndEnterOrSpacePressNoButtonTheUserDidNotChoose)
{
    // However the dialog last closed, it opens with the focus in Short Name.
    for (const char* closer : {"BitBtn1", "ChangeID", "BitBtn2"}) {
        reopen();
        if (closer == std::string_view("ChangeID"))
            prompter.expectDialog([](QDialog&) { return int(QDialog::Rejected); });
        click(closer);
        reopen();
        EXPECT_EQ(focused(), control("TileName")) << closer;
    }
    prompter.dialogsShown.clear();

    typeAtWindow("Old Well");
    keyAtWindow(Qt::Key_Return);
    EXPECT_EQ(focused(), control("TileTextBox")) << "Enter goes from Short Name to the area text";
    EXPECT_EQ(working().shortName, "Old Well");
    typeAtWindow("Dry ");
    keyAtWindow(Qt::Key_Enter);
    typeAtWindow("since spring");
    EXPECT_EQ(memo(), "Dry \nsince spring");

    // Enter in every entry field and combo box moves on to where typing goes; a combo keeps its list.
    for (int page = 1; page <= 5; ++page) {
        showPage(page);
        for (QWidget* field : control<QTabWidget>("PageControl1")->currentWidget()->findChildren<QWidget*>()) {
            auto* combo = qobject_cast<QComboBox*>(field);
            if (!combo && (!qobject_cast<QLineEdit*>(field) || qobject_cast<QComboBox*>(field->parent())))
                continue;
            const int entries = combo ? combo->count() : 0;
            field->setFocus(Qt::MouseFocusReason);
            typeAtWindow("Zz");
            keyAtWindow(Qt::Key_Return);
            typeAtWindow(" ");
            keyAtWindow(Qt::Key_Return);
            const std::string name = field->objectName().toStdString();
            EXPECT_NE(focused(), field) << name;
            EXPECT_FALSE(qobject_cast<QAbstractButton*>(focused())) << name;
            EXPECT_TRUE(!combo || (combo->count() == entries && combo->findText("Zz") < 0)) << name;
        }
    }
    // Neither Enter nor the space pressed Change, Add or a closing button.
    EXPECT_TRUE(form.isVisible() && prompter.dialogsShown.isEmpty());
    EXPECT_TRUE(working().items.empty() && working().npcs.empty());

    // A button the user tabbed to is pressed by Enter or the space; none is pressed as the default.
    for (QPushButton* button : form.findChildren<QPushButton*>())
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
    for (const Qt::Key press : {Qt::Key_Return, Qt::Key_Space}) {
        reopen();
        keyAtWindow(Qt::Key_Tab);
        ASSERT_EQ(focused(), control("BitBtn1"));
        keyAtWindow(press);
        EXPECT_EQ(std::pair(form.isVisible(), form.result()), std::pair(false, int(QDialog::Accepted)));
    }
}

TEST_F(TileDescFormTest, ChangeButtonTakesTheChosenRowAsLocationId)
{
    for (int i = 0; i < 5; ++i)
        list.append(describedTile(i, "Tile " + std::to_string(i + 1)));
    open(2);
    EXPECT_EQ(form.locationId(), 3);

    // A row and OK, then Cancel, then OK with no row, then a double click on a row, which
    // closes the list with that row chosen: only the first and the last change the ID.
    const std::tuple<int, int, int> choices[] = {
        {1, QDialog::Accepted, 2}, {4, QDialog::Rejected, 2}, {-1, QDialog::Accepted, 2}, {3, -1, 4}};
    for (const auto& [row, result, id] : choices) {
        prompter.expectDialog([row, result](QDialog& shown) {
            EXPECT_EQ(shown.windowTitle(), "Change Location ID");
            auto* rows = shown.findChild<QListWidget*>("TileList");
            if (result >= 0) {
                if (row >= 0)
                    rows->setCurrentRow(row);
                return result;
            }
            shown.show();
            const QPoint at = rows->visualItemRect(rows->item(row)).center();
            QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(rows->viewport(), Qt::LeftButton, {}, at);
            EXPECT_FALSE(shown.isVisible());
            return shown.result();
        });
        click("ChangeID");
        EXPECT_EQ(form.locationId(), id) << row;
    }
}

TEST_F(TileDescFormTest, FieldsCommitOnlyToTheSelectedRecordOfTheirPageAndRemoveAndCancelLeaveTheStoredDescription)
{
    TilePtr stored = describedTile(kCell, "Shop");
    auto rope = std::make_shared<XEItem>();
    rope->name = "Rope";
    stored->items.push_back(rope);
    for (const char* type : {"Rat", "Bat"}) {
        stored->creatures.push_back(std::make_shared<XECreature>());
        stored->creatures.back()->type = type;
    }
    auto npc = std::make_shared<XENPC>();
    npc->name = "Guard";
    stored->npcs.push_back(npc);
    list.append(stored);
    open();
    showPage(3);

    // Typing with nothing selected stores nothing; the text waits for the next Add.
    type("ItemName", "Lamp");
    click("ItemAdd");
    EXPECT_EQ(rope->name, "Rope");
    ASSERT_EQ(working().items.size(), 2u);
    EXPECT_TRUE(working().items[1]->moveable);
    EXPECT_EQ(entries("ItemList"), (QStringList{"Rope", "Lamp"}));
    select("ItemList", 1);
    type("ItemValue", "3");
    click("ItemNew");
    EXPECT_FALSE(session.modified()) << "the lamp is only in the working copy";

    // The check box is stored on leaving it, into the selected item only.
    select("ItemList", 0);
    EXPECT_EQ(text("ItemName"), "Rope");
    QTest::mouseClick(control("ItemMoveable"), Qt::LeftButton, {}, QPoint(8, control("ItemMoveable")->height() / 2));
    type("ItemText", "Long");
    click("ItemNew");
    EXPECT_EQ(std::tuple(rope->moveable, rope->text), std::tuple(true, StringList{"Long"}));
    EXPECT_TRUE(session.modified()) << "the rope is the stored description's too";

    // Text left in a page is emptied when the focus leaves the page, and the box is checked again.
    type("ItemName", "Torch");
    showPage(0);
    showPage(3);
    EXPECT_EQ(std::tuple(text("ItemName"), control<QCheckBox>("ItemMoveable")->isChecked()), std::tuple("", true));

    // Picking a suggestion counts as a change; Enter moves on and so stores it, but never closes the dialog.
    showPage(1);
    select("NPCList", 0);
    control("NPCAlign")->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(control("NPCAlign"), Qt::Key_Down);
    QTest::keyClick(control("NPCAlign"), Qt::Key_Return);
    EXPECT_EQ(std::tuple(npc->align, control("NPCRace")->hasFocus(), form.isVisible()),
              std::tuple("Lawful Good", true, true));

    showPage(2);
    type("CreatName", "Boar");
    click("CreatAdd");  // Remove stays disabled until a page's first Add

    // Nothing selected: nothing is removed, the typed text stays.
    type("CreatName", "Snake");
    click("CreatRemove");
    EXPECT_EQ(entries("CreatureList"), (QStringList{"Rat", "Bat", "Boar"}));
    EXPECT_EQ(text("CreatName"), "Snake");

    select("CreatureList", 1);
    EXPECT_EQ(text("CreatType"), "Bat");
    click("CreatRemove");
    EXPECT_EQ(std::pair(entries("CreatureList"), text("CreatType")), std::pair(QStringList{"Rat", "Boar"}, QString()));
    for (int left = 2; left > 0; --left) {
        select("CreatureList", 0);
        click("CreatRemove");
    }
    EXPECT_FALSE(control("CreatRemove")->isEnabled());
    EXPECT_EQ(focused(), control("CreatName")) << "the focus left the disabled Remove for the Name, not New";

    type("TileName", "Lair");
    click("BitBtn2");
    EXPECT_EQ(std::tuple(form.result(), stored->creatures.size(), stored->shortName),
              std::tuple(int(QDialog::Rejected), 2u, "Shop"));

    form.show();
    click("BitBtn3");
    EXPECT_EQ(form.result(), TTileDescForm::RemoveAllResult);
}

}  // namespace
