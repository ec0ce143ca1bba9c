// A scene of nodes, each carrying an object and its modifier stack.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "inode.h"

class Scene {
public:
    Scene() = default;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;
    ~Scene();

    // A new node carrying obj, placed by tm; the node takes obj.
    INode* AddNode(const std::wstring& name, Object* obj, const Matrix3& tm = Matrix3());
    INode* FindNode(const std::wstring& name) const;
    const std::vector<std::unique_ptr<INode>>& Nodes() const { return nodes; }

    // Puts mod on top of the node's object-space modifiers (below any world-space
    // ones), making the node's derived object when it has none.
    void ApplyModifier(INode* node, Modifier* mod);
    // Puts a world-space modifier on top of everything.
    void ApplyWorldSpaceModifier(INode* node, Modifier* mod);

private:
    std::vector<std::unique_ptr<INode>> nodes;
};
