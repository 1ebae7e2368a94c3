#pragma once

#include <QString>

#include <memory>

namespace xemap {

class Prompter;
class TForm1;
class TPrintConfig;
class TTilesetForm;

// The program's windows, created once in their fixed order and kept for the run.
struct XemapWindows {
    XemapWindows(Prompter& prompter, const QString& programDirectory);
    ~XemapWindows();
    void show();

    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TTilesetForm> tilesetForm;
    std::unique_ptr<TPrintConfig> printConfig;
};

} // namespace xemap
