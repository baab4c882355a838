# Host-side tools and tests (native Linux).
include(cmake/HostTools.cmake OPTIONAL)
include(cmake/HostTests.cmake OPTIONAL)
include(cmake/ResourceChecks.cmake OPTIONAL)
