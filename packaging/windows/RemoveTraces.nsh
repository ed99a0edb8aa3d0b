  ; The program's start-at-logon entry: the Run value named after its executable, for
  ; all users or, where that was refused, for the user who uninstalls. The Run keys'
  ; other values are not the program's.
  SetRegView 64
  DeleteRegValue HKLM "Software\Microsoft\Windows\CurrentVersion\Run" "kestrava.exe"
  DeleteRegValue HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "kestrava.exe"
  SetRegView lastused

  ; The installation's key goes here already, not after this, so that the vendor's key
  ; can go too once nothing else is in it. (The start-menu folder was read from the
  ; uninstall entry before.)
  DeleteRegKey SHCTX "Software\@CPACK_PACKAGE_VENDOR@\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@"
  DeleteRegKey /ifempty SHCTX "Software\@CPACK_PACKAGE_VENDOR@"
