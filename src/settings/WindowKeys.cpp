#include "settings/WindowKeys.h"

namespace kal {

StartGeometry StartGeometryOf(const AppSettings& settings, const WindowGeometry& normal, int rightPanel, int gridHeight)
{
    StartGeometry start;
    start.left = normal.left;
    start.top = normal.top;
    start.width = normal.width;
    start.height = normal.height;
    start.rightPanel = rightPanel;
    start.gridHeight = gridHeight;
    start.dayListHeight = settings.schHeight;
    start.memoHeight = settings.memoHeight;
    start.todoWidths = {settings.tNoWidth, settings.tOkWidth, settings.nPrWidth, settings.oPrWidth};
    start.dayWidths = {settings.schWidth, settings.plcWidth, settings.catWidth};
    return start;
}
namespace {

void writePosition(IniFile& ini, const char* section, int left, int top, const ScreenRect& screen)
{
    if (!OnScreen(left, top, screen))
        return;
    ini.writeInteger(section, "Top", top);
    ini.writeInteger(section, "Left", left);
}

void writeSize(IniFile& ini, const char* section, int width, int height)
{
    ini.writeInteger(section, "Height", height);
    ini.writeInteger(section, "Width", width);
}

bool dayWidthsUnchanged(const WindowState& s, const StartGeometry& start)
{
    for (std::size_t i = 0; i < s.dayWidths.size(); ++i)
        if (s.dayWidths[i] && *s.dayWidths[i] != start.dayWidths[i])
            return false;
    return true;
}

} // namespace

bool WindowKeysUnchanged(const WindowState& s, const StartGeometry& start)
{
    return !s.dirty && !s.mini && s.current.left == start.left && s.current.top == start.top &&
           s.current.width == start.width && s.current.height == start.height && s.rightPanel == start.rightPanel &&
           s.gridHeight == start.gridHeight && s.dayListHeight == start.dayListHeight &&
           (!s.todoShown || s.memoHeight == start.memoHeight) && start.startYear == s.todayYear &&
           s.todoWidths == start.todoWidths && dayWidthsUnchanged(s, start);
}

void WriteWindowKeys(IniFile& ini, const WindowState& s)
{
    ini.writeInteger("Window", "Now", s.todayYear);
    ini.writeInteger("Window", "PanelMode", s.panelMode);
    ini.writeInteger("Window", "GridMode", s.weekView ? 1 : 0);
    ini.writeInteger("View", "Note", s.notesShown ? 1 : 0);
    if (s.mini) {
        ini.writeInteger("Window", "SmallMode", 1);
        writePosition(ini, "Window", s.normal.left, s.normal.top, s.screen);
        writeSize(ini, "Window", s.normal.width, s.normal.height);
        ini.writeInteger("Window", "PnlWidth", s.rightPanel);
        writeSize(ini, "Mini", s.current.width, s.current.height);
        writePosition(ini, "Mini", s.current.left, s.current.top, s.screen);
    } else {
        ini.writeInteger("Window", "SmallMode", 0);
        writePosition(ini, "Mini", s.miniRemembered.left, s.miniRemembered.top, s.screen);
        writeSize(ini, "Mini", s.miniRemembered.width, s.miniRemembered.height);
        if (s.normalState) {
            writePosition(ini, "Window", s.current.left, s.current.top, s.screen);
            writeSize(ini, "Window", s.current.width, s.current.height);
            ini.writeInteger("Window", "PnlWidth", s.rightPanel);
        }
    }
    ini.writeInteger("Window", "GridHeight", s.gridHeight);
    if (s.normalState && !s.mini && s.panelMode == 0) {
        ini.writeInteger("Window", "SchHeight", s.dayListHeight);
        if (s.todoShown)
            ini.writeInteger("Window", "MemoHeight", s.memoHeight);
    }
    if (s.normalState) {
        const char* dayKeys[] = {"SchWidth", "PlcWidth", "CatWidth"};
        for (std::size_t i = 0; i < s.dayWidths.size(); ++i)
            if (s.dayWidths[i])
                ini.writeInteger("Window", dayKeys[i], *s.dayWidths[i]);
        const char* keys[] = {"TNoWidth", "TOkWidth", "NPrWidth", "OPrWidth"};
        for (std::size_t i = 0; i < s.todoWidths.size(); ++i)
            ini.writeInteger("Window", keys[i], s.todoWidths[i]);
    }
    ini.writeInteger("Window", "ToolBar", s.toolBar ? 1 : 0);
    ini.writeInteger("Window", "StatusBar", s.statusBar ? 1 : 0);
    ini.writeInteger("Clock", "Clock", s.clock ? 1 : 0);
}

} // namespace kal
