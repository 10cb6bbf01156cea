// The installed neighbour steps.
#include "core/DatabaseNeighbours.h"

namespace qv {

DatabaseNeighbours& GetDatabaseNeighbours()
{
    static DatabaseNeighbours neighbours;
    return neighbours;
}

} // namespace qv
