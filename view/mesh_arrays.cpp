#include "mesh_arrays.h"

namespace {

// kept's entry for mesh meshIndex, built anew by build when it is missing or
// was built from other counts.
template <typename TArrays>
const TArrays& KeptOf(std::vector<TArrays>& kept, int32_t meshIndex, const TOMesh& mesh,
                      TArrays (*build)(const TOMesh&))
{
    if (size_t(meshIndex) >= kept.size())
        kept.resize(size_t(meshIndex) + 1);
    TArrays& arrays = kept[size_t(meshIndex)];
    if (arrays.VertexCount != mesh.Vertices.Count() || arrays.FaceCount != mesh.Faces[0].Count())
        arrays = build(mesh);
    return arrays;
}

}  // namespace

const TMeshLines& TMeshArrays::Lines(int32_t meshIndex, const TOMesh& mesh)
{
    return KeptOf(KeptLines, meshIndex, mesh, BuildMeshLines);
}

const TMeshFaces& TMeshArrays::Faces(int32_t meshIndex, const TOMesh& mesh)
{
    return KeptOf(KeptFaces, meshIndex, mesh, BuildMeshFaces);
}

void TMeshArrays::Forget()
{
    KeptLines.clear();
    KeptFaces.clear();
}
