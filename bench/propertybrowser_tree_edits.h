// The row-edit part of the tree-browser benchmark: edits that shift rows in
// front of existing ones, on integer rows that are all expanded.
#pragma once

struct EditFigures {
    double flatClear = 0, removeLeaves = 0, insertFront = 0;
};

/// Times, each on `rows` integer rows of a shown browser: clear() of a flat
/// tree, removing a group's leaves one by one from the front while the group
/// stays, and inserting each row at a group's front; the best of three runs.
EditFigures runTreeEdits(int rows);
