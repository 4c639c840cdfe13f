// The variant part of the tree-browser benchmark.
#pragma once

struct VariantFigures {
    double populate = 0, update = 0, clear = 0;
};

/// Populates, updates and clears a tree of `properties` variant properties.
VariantFigures runVariantTree(int properties);
