// Builds modelled block headers: a list of components, each with the context
// HCOMP computes for it after every byte.
#pragma once

#include "block_writer.h"

#include <QByteArray>
#include <QVector>

namespace zpaqtest {

enum class Context {
    None,   ///< h = 0
    Byte,   ///< h = the last byte (for mixer and SSE row selection)
    Order1, ///< h = last byte << 9 (clear of the partial-byte bits)
    Order2, ///< h = last two bytes << 9
};

struct ModelPart {
    QByteArray descriptor;
    Context context = Context::None;
};

/// HCOMP setting H[i] from the context of component i; R0 keeps the previous byte.
QByteArray contextHcomp(const QVector<Context> &contexts);

/// A header (level 1 by default) with these components and their contexts.
BlockSpec contextModel(const QVector<ModelPart> &parts, int level = 1);

} // namespace zpaqtest
