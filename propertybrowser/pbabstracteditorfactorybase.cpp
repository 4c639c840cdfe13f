// The untyped editor-factory base; its moc slot reaches the typed factories.
#include "propertybrowser/pbabstracteditorfactorybase.h"

PbAbstractEditorFactoryBase::PbAbstractEditorFactoryBase(QObject *parent) : QObject(parent) {}
