#include "settings/WindowKeys.h"

#include "settings/SettingKeys.h"

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

using S = AppSettings;

// The fields of one window's place and size.
struct GeometryKeys {
    int S::*top;
    int S::*left;
    int S::*width;
    int S::*height;
};
constexpr GeometryKeys kNormalKeys{&S::top, &S::left, &S::width, &S::height};
constexpr GeometryKeys kMiniKeys{&S::miniTop, &S::miniLeft, &S::miniWidth, &S::miniHeight};

void writePosition(IniFile& ini, const GeometryKeys& keys, int left, int top, const ScreenRect& screen)
{
    if (!OnScreen(left, top, screen))
        return;
    writeSetting(ini, keys.top, top);
    writeSetting(ini, keys.left, left);
}

void writeSize(IniFile& ini, const GeometryKeys& keys, int width, int height)
{
    writeSetting(ini, keys.height, height);
    writeSetting(ini, keys.width, width);
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
    writeSetting(ini, &S::now, s.todayYear);
    writeSetting(ini, &S::panelMode, s.panelMode);
    writeSetting(ini, &S::gridMode, s.weekView);
    writeSetting(ini, &S::note, s.notesShown);
    if (s.mini) {
        writeSetting(ini, &S::smallMode, true);
        writePosition(ini, kNormalKeys, s.normal.left, s.normal.top, s.screen);
        writeSize(ini, kNormalKeys, s.normal.width, s.normal.height);
        writeSetting(ini, &S::pnlWidth, s.rightPanel);
        writeSize(ini, kMiniKeys, s.current.width, s.current.height);
        writePosition(ini, kMiniKeys, s.current.left, s.current.top, s.screen);
    } else {
        writeSetting(ini, &S::smallMode, false);
        writePosition(ini, kMiniKeys, s.miniRemembered.left, s.miniRemembered.top, s.screen);
        writeSize(ini, kMiniKeys, s.miniRemembered.width, s.miniRemembered.height);
        if (s.normalState) {
            writePosition(ini, kNormalKeys, s.current.left, s.current.top, s.screen);
            writeSize(ini, kNormalKeys, s.current.width, s.current.height);
            writeSetting(ini, &S::pnlWidth, s.rightPanel);
        }
    }
    writeSetting(ini, &S::gridHeight, s.gridHeight);
    if (s.normalState && !s.mini && s.panelMode == 0) {
        writeSetting(ini, &S::schHeight, s.dayListHeight);
        if (s.todoShown)
            writeSetting(ini, &S::memoHeight, s.memoHeight);
    }
    if (s.normalState) {
        int S::*const dayKeys[] = {&S::schWidth, &S::plcWidth, &S::catWidth};
        for (std::size_t i = 0; i < s.dayWidths.size(); ++i)
            if (s.dayWidths[i])
                writeSetting(ini, dayKeys[i], *s.dayWidths[i]);
        int S::*const todoKeys[] = {&S::tNoWidth, &S::tOkWidth, &S::nPrWidth, &S::oPrWidth};
        for (std::size_t i = 0; i < s.todoWidths.size(); ++i)
            writeSetting(ini, todoKeys[i], s.todoWidths[i]);
    }
    writeSetting(ini, &S::toolBar, s.toolBar);
    writeSetting(ini, &S::statusBar, s.statusBar);
    writeSetting(ini, &S::clock, s.clock ? 1 : 0);
}

} // namespace kal
