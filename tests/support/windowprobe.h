#pragma once
// The window tests' one door into the window: its controls and state are private, and a test
// that must look inside (a control to press, the page's pixels, the current choice) goes
// through here, so what the tests depend on is in one place.
#include "app/mainwindow.h"

struct WindowProbe {
    static WindowControls& ui(MainWindow& w) { return w.ui; }
    static ToolChoice& tools(MainWindow& w) { return w.tools; }
    static PageSession& session(MainWindow& w) { return w.session; }
    static CatalogueState& catalogue(MainWindow& w) { return w.catalogue; }
    static RunStatistics& stats(MainWindow& w) { return w.stats; }
    static ProgramFolders& folders(MainWindow& w) { return w.folders; }
    static OptionsDialog*& optionsDialog(MainWindow& w) { return w.optionsDialog; }
    static ChildMode*& childMode(MainWindow& w) { return w.childMode; }
    static SelectionLook*& selectionLook(MainWindow& w) { return w.selectionLook; }
    static CatalogueThumbnails*& thumbnails(MainWindow& w) { return w.thumbnails; }
    static QString& siteBase(MainWindow& w) { return w.siteBase; }
    static long& httpTimeLimitMs(MainWindow& w) { return w.httpTimeLimitMs; }
    static Platform& platform(MainWindow& w) { return w.platform; }
    static bool& toolSoundStarted(MainWindow& w) { return w.toolSoundStarted; }
    static QPointer<ToolSoundThread>& toolSoundThread(MainWindow& w) { return w.toolSoundThread; }
    // Puts a picture on the page as it is: no step back, no lines of its own.
    static void setPage(MainWindow& w, std::unique_ptr<PageBitmapCanvas> page) {
        w.session.replace(std::move(page), OutlineMask(), w.session.origin(), false);
    }
    static void keepLeavingPicture(MainWindow& w) { w.keepLeavingPicture(); }
    static bool cleanPageReady(MainWindow& w) {
        return w.shown.cleanPage && w.shown.cleanPage->ready.load();
    }
};

// Short forms for the tests: probe::ui(f).fillButton, probe::session(f).canvas(). A test
// holding the window by a const reference reads through them as well.
namespace probe {
template <class W> decltype(auto) ui(W& w) {
    return WindowProbe::ui(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) tools(W& w) {
    return WindowProbe::tools(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) session(W& w) {
    return WindowProbe::session(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) catalogue(W& w) {
    return WindowProbe::catalogue(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) stats(W& w) {
    return WindowProbe::stats(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) folders(W& w) {
    return WindowProbe::folders(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) optionsDialog(W& w) {
    return WindowProbe::optionsDialog(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) childMode(W& w) {
    return WindowProbe::childMode(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) selectionLook(W& w) {
    return WindowProbe::selectionLook(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) thumbnails(W& w) {
    return WindowProbe::thumbnails(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) siteBase(W& w) {
    return WindowProbe::siteBase(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) httpTimeLimitMs(W& w) {
    return WindowProbe::httpTimeLimitMs(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) platform(W& w) {
    return WindowProbe::platform(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) toolSoundStarted(W& w) {
    return WindowProbe::toolSoundStarted(
        const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> decltype(auto) toolSoundThread(W& w) {
    return WindowProbe::toolSoundThread(const_cast<MainWindow&>(static_cast<const MainWindow&>(w)));
}
template <class W> void setPage(W& w, std::unique_ptr<PageBitmapCanvas> page) {
    WindowProbe::setPage(w, std::move(page));
}
} // namespace probe
