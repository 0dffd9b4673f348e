# `make install` / `cmake --install`: the program in bin/, its libraries, the command module and
# the light panel plugin in lib/ beside it (the program finds them through ../lib, so the prefix
# can be anywhere), and the documentation in share/doc/vantrel/.
install(TARGETS vantrel RUNTIME DESTINATION bin)
install(TARGETS vantrel_ge vantrel_db hxicore vantrel_host vantrelcmd3 vantrel_lightpanel
  LIBRARY DESTINATION lib)
install(FILES README.md LICENSE DESTINATION share/doc/vantrel)
install(DIRECTORY docs/ DESTINATION share/doc/vantrel/docs)
