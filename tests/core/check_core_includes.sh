#!/usr/bin/env bash
# Fails when a file of the portable core includes a Qt, X11 or Windows header.
set -u
hits=$(grep -rnE '^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/|X11/|windows\.h|gtk/)' "$1")
if [ -n "$hits" ]; then
  echo "core files include user-interface headers:"
  echo "$hits"
  exit 1
fi
echo "core is free of user-interface headers"
