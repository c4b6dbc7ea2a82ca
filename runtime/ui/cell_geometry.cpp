// The cell grid's settings and the cell-to-pixel conversions.
#include "runtime/ui/cell_geometry.h"

#include <cmath>

#include "runtime/env/fonts.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {

namespace {
CellGrid g_grid;

// Row pitch: the cell height grown by the spacing percentage.
double RowPitch() { return FontCell().height * (100.0 + g_grid.spacing) / 100.0; }
}  // namespace

const CellGrid& GridGet() { return g_grid; }

void GridReset() { g_grid = CellGrid{}; }

void GridSetScreenSize(StrDesc value) {
    if (value.IsError() || value.len == 0) return;
    auto number = [&](std::uint16_t item) { return StrToNum(Trim(Item(value, ',', item), kTrimBoth)); };
    const std::int16_t columns = number(1), rows = number(2);
    if (columns > 0) g_grid.columns = static_cast<std::uint16_t>(columns);
    if (rows > 0) g_grid.rows = static_cast<std::uint16_t>(rows);
    if (ItemCount(value, ',') >= 4) {
        g_grid.column_origin = number(3);
        g_grid.row_origin = number(4);
    }
    const std::int16_t spacing = number(5);
    if (spacing > 0) g_grid.spacing = static_cast<std::uint16_t>(spacing);
    g_grid.fixed_size = true;
}

void GridSetOrigin(std::int16_t column, std::int16_t row) {
    g_grid.column_origin = column;
    g_grid.row_origin = row;
}

void GridSetSpacing(std::uint16_t percent) { g_grid.spacing = percent; }

int CellX(int column) { return (column + g_grid.column_origin - 1) * FontCell().width + 1; }
int CellY(int row) { return static_cast<int>(std::lround((row + g_grid.row_origin - 1) * RowPitch())) + 1; }
int CellsWide(int characters) { return characters * FontCell().width; }
int CellsHigh(int rows) { return static_cast<int>(std::lround(rows * RowPitch())); }
int CellWidthPx() { return FontCell().width; }
int CellHeightPx() { return FontCell().height; }

}  // namespace rt
