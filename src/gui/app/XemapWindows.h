#pragma once

#include <QString>

#include <memory>

namespace xemap {

class Prompter;
class TAddTilesetForm;
class TChangeIDForm;
class TCommandsForm;
class TDoorForm;
class TForm1;
class TGetMapName;
class TNewTilesetForm;
class TPrintConfig;
class TTileDescForm;
class TTilesetForm;
class TXEAbout;
class TYesNo;
class TypeAheadGuard;

// The program's windows, created once in their fixed order and kept for the run.
struct XemapWindows {
    XemapWindows(Prompter& prompter, const QString& programDirectory);
    ~XemapWindows();
    void show();

    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TTilesetForm> tilesetForm;
    std::unique_ptr<TYesNo> yesNo;
    std::unique_ptr<TXEAbout> xeAbout;
    // The Change Location ID dialog comes just before the Describe Tile dialog, which holds it.
    std::unique_ptr<TChangeIDForm> changeIdForm;
    std::unique_ptr<TTileDescForm> tileDescForm;
    std::unique_ptr<TNewTilesetForm> newTilesetForm;
    std::unique_ptr<TCommandsForm> commandsForm;
    std::unique_ptr<TPrintConfig> printConfig;
    std::unique_ptr<TGetMapName> getMapName;
    std::unique_ptr<TDoorForm> doorForm;
    std::unique_ptr<TAddTilesetForm> addTilesetForm;
    // Keys typed for a dialog never reach the main window or the palette.
    std::unique_ptr<TypeAheadGuard> typeAheadGuard;
};

}  // namespace xemap
