; Read by makensis before every script when NSISCONFDIR names this folder
; (scripts/windows-gui.sh): a 64-bit installer, which sees the 64-bit Program Files and
; registry as the program does and runs under a Wine without 32-bit support.
Target amd64-unicode
