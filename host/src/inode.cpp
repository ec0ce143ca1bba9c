#include "inode.h"

INode::~INode() {
    DeleteAllRefs();
}

void INode::SetObjectRef(Object* obj) {
    state = ObjectState();
    ReplaceReference(0, obj);
}

void INode::SetReference(int, ReferenceTarget* target) {
    objRef = static_cast<Object*>(target);
}

Matrix3 INode::GetObjectTM(TimeValue, Interval* valid) {
    if (valid)
        *valid &= FOREVER;
    return objOffset * nodeTM;
}

Matrix3 INode::GetNodeTM(TimeValue, Interval* valid) {
    if (valid)
        *valid &= FOREVER;
    return nodeTM;
}

void INode::SetNodeTM(TimeValue, const Matrix3& tm) {
    nodeTM = tm;
    NotifyDependents(FOREVER, PART_TM, REFMSG_CHANGE);
}

void INode::SetObjOffset(const Matrix3& offset) {
    objOffset = offset;
    NotifyDependents(FOREVER, PART_TM, REFMSG_CHANGE);
}

const ObjectState& INode::EvalWorldState(TimeValue t) {
    state = objRef ? objRef->Eval(t) : ObjectState();
    return state;
}
