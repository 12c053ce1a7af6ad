; The sample payload as a plain NSIS installer with zlib, the reference for the silent
; install benchmark: the same files, an uninstall entry, two shortcuts and the product's
; association run, as the Orvanel setup makes them.
; makensis -DPAYLOAD=<payload folder> -DOUTFILE=<installer> orvanel-nsis.nsi
Unicode true
Target amd64-unicode
SetCompressor zlib
Name "Orvanel Word Processor"
OutFile "${OUTFILE}"
InstallDir "C:\bench-nsis\Orvanel"
RequestExecutionLevel admin
SilentInstall silent

Section
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${PAYLOAD}/*"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvanel Word Processor (NSIS)" "DisplayName" "Orvanel Word Processor"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvanel Word Processor (NSIS)" "UninstallString" '"$INSTDIR\orv.exe" -ui'
  CreateShortcut "$SMPROGRAMS\Orvanel Word Processor (NSIS).lnk" "$INSTDIR\orv.exe"
  CreateShortcut "$DESKTOP\Orvanel Word Processor (NSIS).lnk" "$INSTDIR\orv.exe"
  ; The setup waits for the association run (it starts it with WinExec, which returns once
  ; the program is idle or gone; this one registers and ends), so NSIS waits as well.
  ExecWait '"$INSTDIR\orv.exe" -assoc orvx_cod'
SectionEnd
