#!/usr/bin/env bash
# Fails when a file of the portable core includes a Qt, X11 or GTK header, or a Windows
# header outside the few Windows-only files (named *_win.*) that implement the platform.
set -u
hits=$(grep -rnE '^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/|X11/|gtk/)' "$1"
       grep -rnE --exclude='*_win.*' '^\s*#\s*include\s*[<"](windows|shlobj|winreg)\.h' "$1")
if [ -n "$hits" ]; then
  echo "core files include user-interface headers:"
  echo "$hits"
  exit 1
fi
echo "core is free of user-interface headers"
