# The colony world driver and its invariant checks, shared by the property test and the colony
# driver's fuzz target; included from both so that either preset builds it.
if(NOT TARGET colony_invariants)
    add_library(colony_invariants STATIC "${CMAKE_CURRENT_LIST_DIR}/ColonyInvariants.cpp")
    target_link_libraries(colony_invariants PUBLIC vx_options vxhost vxsimtext)
endif()
