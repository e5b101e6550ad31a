// The eighteen record grid columns as text: what a grid cell shows (the
// column's display format) and the plain value an export writes. The record
// grid, `ondavia-cli rows` and the exports all format through here, so a
// column reads the same everywhere.
#pragma once

#include <cstddef>
#include <string>

#include "data/record.hpp"

namespace ondavia {

enum class GridAlign { Centre, Right };

// What a column's bytes are: text taken from the data file (cp949, to be
// converted before it is shown), a fixed ASCII text, or an ASCII number.
enum class GridCellKind { FileText, Text, Number };

struct GridColumnTraits {
    int width;  // minimum width in pixels
    GridAlign align;
    GridCellKind kind;
};

// Column 0..17; columns outside that range give a zero-width text column.
const GridColumnTraits& GridColumnTraitsOf(int column);

// Room for any cell, a real of any magnitude in fixed notation included.
inline constexpr size_t kGridCellCapacity = 352;

// The text the grid shows: "#,##0 " distances, six-decimal positions, one
// decimal G values, the two-digit state ("-01" for -1), extended fields empty
// in files without them. Writes into buf (kGridCellCapacity bytes) and
// returns the length; no allocation.
size_t WriteGridCellText(const GridRow& row, int column, char* buf);
// The plain value: integers without grouping, positions with six decimals,
// G values in their shortest exact form, the state as a plain integer.
size_t WriteGridValue(const GridRow& row, int column, char* buf);

std::string GridCellText(const GridRow& row, int column);
std::string GridValue(const GridRow& row, int column);

}  // namespace ondavia
