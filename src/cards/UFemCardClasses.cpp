#include "cards/UFemCardClasses.h"

#include "cardmodel/UFemCardClassManager.h"
#include "cards/Case.h"
#include "cards/FixNode.h"
#include "cards/Force.h"
#include "cards/ForceDisp.h"
#include "cards/ForceSet.h"
#include "cards/Hexa.h"
#include "cards/Material.h"
#include "cards/Node.h"
#include "cards/Quad4c.h"
#include "cards/RestraintEquation.h"
#include "cards/RestraintSet.h"
#include "cards/Rod.h"
#include "cards/RodProp.h"
#include "cards/ShellProp.h"
#include "cards/SolidProp.h"

// A class joins by a line at its place. The order numbers the value types the classes register,
// so it is the registry's: Node, Rod, Quad4c, Hexa, RodProp, ShellProp, SolidProp, Material,
// ForceSet, Force, RestraintSet, FixNode, RestraintEquation, ForceDisp, Case.
const std::vector<const UFemCardClass*>& UFemCardClassesInRegistryOrder()
{
    static const std::vector<const UFemCardClass*> classes {
        &Node::cardClassObject(),
        &Rod::cardClassObject(),
        &Quad4c::cardClassObject(),
        &Hexa::cardClassObject(),
        &RodProp::cardClassObject(),
        &ShellProp::cardClassObject(),
        &SolidProp::cardClassObject(),
        &Material::cardClassObject(),
        &ForceSet::cardClassObject(),
        &Force::cardClassObject(),
        &RestraintSet::cardClassObject(),
        &FixNode::cardClassObject(),
        &RestraintEquation::cardClassObject(),
        &ForceDisp::cardClassObject(),
        &Case::cardClassObject(),
    };
    return classes;
}

void UFemInstallCardClasses()
{
    static const bool isInstalled = [] {
        UFemCardClassManager::setSharedCardClasses(UFemCardClassesInRegistryOrder());
        UFemCardClassManager::sharedCardClassManager();
        return true;
    }();
    (void)isInstalled;
}
