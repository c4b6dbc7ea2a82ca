// The character-cell grid on which runtime windows are laid out: a logical screen of columns and rows
// (80 by 25 unless SCREENSIZE$ says otherwise), a column and row origin, a line spacing percentage,
// and the cell size of the runtime font. Positions and sizes in cells become pixels here.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

struct CellGrid {
    std::uint16_t columns = 80;
    std::uint16_t rows = 25;
    std::int16_t column_origin = 0;
    std::int16_t row_origin = 0;
    std::uint16_t spacing = 0;    // extra line height, percent of the cell height
    bool fixed_size = false;      // a SCREENSIZE$ set the screen
};

const CellGrid& GridGet();
// Back to the defaults: 80 by 25, origin (0, 0), no spacing.
void GridReset();
// Applies a SCREENSIZE$ value "columns,rows[,column origin,row origin[,spacing]]"; an empty value
// changes nothing, an item that is empty or 0 keeps its default.
void GridSetScreenSize(StrDesc value);
void GridSetOrigin(std::int16_t column, std::int16_t row);
void GridSetSpacing(std::uint16_t percent);

// Pixels of cell positions and sizes, with the current runtime font's cell.
int CellX(int column);
int CellY(int row);
int CellsWide(int characters);
int CellsHigh(int rows);
int CellWidthPx();
int CellHeightPx();

}  // namespace rt
