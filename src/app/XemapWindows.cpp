#include "app/XemapWindows.h"

#include "app/Xemapmain.h"
#include "tileset/Tilesetformmain.h"

namespace xemap {

XemapWindows::XemapWindows(Prompter& prompter, const QString& programDirectory)
    : form1(std::make_unique<TForm1>(prompter, programDirectory)),
      tilesetForm(std::make_unique<TTilesetForm>(*form1, prompter))
{
}

XemapWindows::~XemapWindows() = default;

void XemapWindows::show()
{
    form1->show();
    tilesetForm->show();
}

}  // namespace xemap
