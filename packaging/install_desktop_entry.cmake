# Runs at install time: writes the desktop entry with the launcher's path under
# the prefix being installed to (known only now: `cmake --install --prefix`
# and the package both choose it late), then installs it like any other file.
# Expects VTRAK_DESKTOP_TEMPLATE, VTRAK_DESKTOP_WORK and VTRAK_APP_ID.
set(launcher "${CMAKE_INSTALL_PREFIX}/games/vtrak")

# A plain path stands as it is; anything else becomes one quoted argument,
# escaped first as the Exec key wants and then as a desktop-entry string.
if(launcher MATCHES "^[A-Za-z0-9/._+,:=@-]+$")
  set(VTRAK_LAUNCHER_EXEC "${launcher}")
else()
  set(quoted "${launcher}")
  foreach(special "\\" "\"" "`" "$")
    string(REPLACE "${special}" "\\${special}" quoted "${quoted}")
  endforeach()
  string(REPLACE "\\" "\\\\" quoted "${quoted}")
  string(REPLACE "%" "%%" quoted "${quoted}")
  set(VTRAK_LAUNCHER_EXEC "\"${quoted}\"")
endif()

set(entry "${VTRAK_DESKTOP_WORK}/${VTRAK_APP_ID}.desktop")
configure_file("${VTRAK_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE FILES "${entry}")
