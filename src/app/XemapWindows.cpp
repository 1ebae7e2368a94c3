#include "app/XemapWindows.h"

#include "app/Xemapmain.h"
#include "output/Printconfigmain.h"
#include "tileset/Tilesetformmain.h"

namespace xemap {

XemapWindows::XemapWindows(Prompter& prompter, const QString& programDirectory)
    : form1(std::make_unique<TForm1>(prompter, programDirectory)),
      tilesetForm(std::make_unique<TTilesetForm>(*form1, prompter)),
      printConfig(std::make_unique<TPrintConfig>(form1.get()))
{
    form1->setPrintConfig(printConfig.get());
}

XemapWindows::~XemapWindows() = default;

void XemapWindows::show()
{
    form1->show();
    tilesetForm->show();
}

} // namespace xemap
