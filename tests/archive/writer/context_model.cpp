// Context HCOMP generation for modelled test blocks.
#include "context_model.h"

#include "zpaql.h"

namespace zpaqtest {

using namespace zpaql;

QByteArray contextHcomp(const QVector<Context> &contexts)
{
    Program p;
    p.y(SET_C, A); // C = the byte just coded
    for (int i = 0; i < contexts.size(); ++i) {
        p.yn(SET_D, i);
        switch (contexts[i]) {
        case Context::None:
            p.op(AT_D_ZERO);
            break;
        case Context::Byte:
            p.y(SET_A, C).y(SET_AT_D, A);
            break;
        case Context::Order1:
            p.y(SET_A, C).yn(SHL, 9).y(SET_AT_D, A);
            break;
        case Context::Order2:
            p.op(A_LOAD_R, 0).yn(SHL, 8).y(OR, C).yn(SHL, 9).y(SET_AT_D, A);
            break;
        }
    }
    p.y(SET_A, C).op(R_STORE_A, 0).op(HALT);
    return p.bytes();
}

BlockSpec contextModel(const QVector<ModelPart> &parts, int level)
{
    BlockSpec spec;
    spec.level = level;
    QVector<Context> contexts;
    for (const ModelPart &part : parts) {
        spec.add(part.descriptor);
        contexts.append(part.context);
    }
    while ((1 << spec.hh) < parts.size())
        ++spec.hh;
    spec.hcomp = contextHcomp(contexts);
    return spec;
}

} // namespace zpaqtest
