# The Qt Widgets and GoogleTest headers take most of each window and test file's compile time;
# each program parses them once instead of once per file. The lists hold what most files include.
set(KALENDRA_PCH_STD <algorithm> <functional> <map> <memory> <string> <vector>)
set(KALENDRA_PCH_WIDGETS
    <QAction>
    <QApplication>
    <QCheckBox>
    <QComboBox>
    <QDateEdit>
    <QGridLayout>
    <QHBoxLayout>
    <QHeaderView>
    <QLabel>
    <QLineEdit>
    <QListWidget>
    <QMenu>
    <QPainter>
    <QPlainTextEdit>
    <QPushButton>
    <QRadioButton>
    <QSpinBox>
    <QTreeWidget>
    <QVBoxLayout>)

if(TARGET kalendra_gui)
  target_precompile_headers(kalendra_gui PRIVATE ${KALENDRA_PCH_STD} ${KALENDRA_PCH_WIDGETS})
endif()
if(TARGET kalendra_gui_tests)
  target_precompile_headers(kalendra_gui_tests PRIVATE ${KALENDRA_PCH_STD} ${KALENDRA_PCH_WIDGETS}
                            <QSignalSpy> <QTest> <gtest/gtest.h>)
endif()
if(TARGET kalendra_core_tests)
  target_precompile_headers(kalendra_core_tests PRIVATE ${KALENDRA_PCH_STD} <filesystem> <gtest/gtest.h>)
endif()
