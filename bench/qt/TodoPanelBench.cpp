// ToDoEdit's part on a ToDo.dat of 2,000 entries: read the file, build the rows and fill both
// lists of the panel (offscreen, shown, with status icons and every column).
#include "BenchFolder.h"
#include "QtBenchMain.h"
#include "TodoData.h"
#include "platform/Files.h"
#include "platform/qt/QtPlatform.h"
#include "todo/TodoStore.h"
#include "todo/qt/TodoPanel.h"

#include <QApplication>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

struct TodoFolder : kal::bench::BenchFolder {
    TodoFolder() : BenchFolder("kalendra-todo-bench")
    {
        if (!kal::files::saveLines(kal::TodoFilePath(path), kal::bench::makeTodoLines()))
            std::abort();
    }
};

void BM_TodoPanelFill(benchmark::State& state)
{
    static const TodoFolder folder;
    kal::qt::QtPlatform platform;
    kal::qt::ExecDialogRunner dialogs;
    kal::qt::Services services{platform, dialogs};
    const kal::AppSettings settings;
    bool dialogOpen = false;
    kal::qt::TodoPanel panel({services, settings, folder.path, nullptr, dialogOpen, {}, {}, {}, {}}, {});
    kal::qt::TodoColumnSettings columns;
    columns.openItems = kal::TodoItemFlags({1, 1, 1, 1, 1, 1, 0});
    columns.doneItems = kal::TodoItemFlags({1, 0, 1, 1, 1, 1, 1});
    panel.CreateColumns(columns);
    panel.setStatusIcons(kal::qt::LoadTodoIcons(folder.path, {}));
    panel.resize(320, 300);
    panel.show();
    for (auto _ : state) {
        const kal::TodoFile file = kal::LoadTodoFile(folder.path);
        panel.Fill(kal::BuildTodoRows("ToDo.dat", file.lines, kal::Date{2026, 12, 8}, 3));
        QApplication::processEvents();
    }
    if (panel.ListTodoNo->topLevelItemCount() + panel.ListTodoOk->topLevelItemCount() != kal::bench::kTodoEntries)
        std::abort();
}
BENCHMARK(BM_TodoPanelFill)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return kal::bench::runQtBenchmarks(argc, argv);
}
