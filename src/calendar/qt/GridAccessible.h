// The month grid and the week grid as accessible tables: rows are the weeks (the week's days),
// columns the weekdays (date, lines, memo), each cell an object a screen reader reads by the name
// the grid's namer gives. A factory gives every CellGrid this table.
#pragma once

namespace kal::qt {

class CellGrid;

// Registers the factory; later calls do nothing.
void InstallGridAccessibility();

// The selected cell moved: it is the selection and, in a focused grid, the focus.
void AnnounceSelection(CellGrid& grid);
// The cells read otherwise now; the selected cell is read again.
void AnnounceContents(CellGrid& grid);
// The grid took the focus: its selected cell has it.
void AnnounceFocus(CellGrid& grid);

} // namespace kal::qt
