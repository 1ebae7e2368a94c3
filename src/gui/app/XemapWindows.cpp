#include "gui/app/XemapWindows.h"

#include "gui/app/TypeAheadGuard.h"
#include "gui/app/Xemapmain.h"
#include "gui/descriptions/Changeidformmain.h"
#include "gui/descriptions/Doorformmain.h"
#include "gui/descriptions/Tiledescmain.h"
#include "gui/dialogs/Commandsformmain.h"
#include "gui/dialogs/Getmapnamemain.h"
#include "gui/dialogs/Xeaboutmain.h"
#include "gui/dialogs/Yesnomain.h"
#include "gui/output/Printconfigmain.h"
#include "gui/tileset/Addtilesetformmain.h"
#include "gui/tileset/Newtilesetformmain.h"
#include "gui/tileset/Tilesetformmain.h"

namespace xemap {

XemapWindows::XemapWindows(Prompter& prompter, const QString& programDirectory)
    : form1(std::make_unique<TForm1>(prompter, programDirectory)),
      tilesetForm(std::make_unique<TTilesetForm>(*form1, *form1, prompter)), yesNo(std::make_unique<TYesNo>(*form1)),
      xeAbout(std::make_unique<TXEAbout>(programDirectory)), changeIdForm(std::make_unique<TChangeIDForm>(form1.get())),
      tileDescForm(std::make_unique<TTileDescForm>(prompter, *changeIdForm, form1.get())),
      newTilesetForm(std::make_unique<TNewTilesetForm>()),
      commandsForm(std::make_unique<TCommandsForm>(programDirectory + "/manual.html", form1.get())),
      printConfig(std::make_unique<TPrintConfig>(form1.get())), getMapName(std::make_unique<TGetMapName>(*form1)),
      doorForm(std::make_unique<TDoorForm>(form1.get())),
      addTilesetForm(
          std::make_unique<TAddTilesetForm>(prompter, *yesNo, programDirectory, form1->addedTilesetFolder())),
      typeAheadGuard(std::make_unique<TypeAheadGuard>(std::vector<const QWidget*>{form1.get(), tilesetForm.get()}))
{
    form1->setDialogs({yesNo.get(), xeAbout.get(), newTilesetForm.get(), commandsForm.get(), getMapName.get(),
                       addTilesetForm.get(), tileDescForm.get(), doorForm.get()});
    form1->setPrintConfig(printConfig.get());
}

XemapWindows::~XemapWindows() = default;

void XemapWindows::show()
{
    form1->show();
    tilesetForm->show();
}

}  // namespace xemap
