// The variant part of the tree-browser benchmark, and the figures of one run.
#pragma once

struct TreeFigures {
    double populate = 0, update = 0, clear = 0;
};

/// Populates, updates and clears a tree of `properties` variant properties.
TreeFigures runVariantTree(int properties);
