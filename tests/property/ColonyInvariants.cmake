# The colony world's invariant checks, shared by the property test and the colony driver's fuzz
# target; included from both so that either preset has them.
if(NOT TARGET colony_invariants)
    add_library(colony_invariants INTERFACE)
    target_link_libraries(colony_invariants INTERFACE vx_options vxhost vxsimtext)
endif()
