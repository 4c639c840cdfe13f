// Group rows: properties without a value that only hold children.
#include "propertybrowser/pbgrouppropertymanager.h"

PbGroupPropertyManager::PbGroupPropertyManager(QObject *parent) : PbAbstractPropertyManager(parent) {}

PbGroupPropertyManager::~PbGroupPropertyManager() { clear(); }

bool PbGroupPropertyManager::hasValue(const PbProperty *) const { return false; }

void PbGroupPropertyManager::initializeProperty(PbProperty *) {}

void PbGroupPropertyManager::uninitializeProperty(PbProperty *) {}
