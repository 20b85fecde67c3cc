# The DLLs a Windows program of ours may import: those every Windows 7 to 11
# has. Source this file.
#   vivarn_foreign_imports FILE   prints each DLL that FILE imports and Windows
#                                 does not ship; fails when there is one, or
#                                 when FILE's import table cannot be read
VIVARN_SYSTEM_DLLS='^(kernel32|user32|gdi32|opengl32|comctl32|advapi32|shlwapi|shell32|ole32|oleaut32|rpcrt4|comdlg32|uxtheme|msvcrt|version|winmm|dwmapi|api-ms-win-.*)\.dll$'

vivarn_foreign_imports() {
  local dlls
  dlls="$(x86_64-w64-mingw32-objdump -p "$1" 2>/dev/null | sed -n 's/^[[:space:]]*DLL Name: //p' | tr -d '\r')"
  if [ -z "$dlls" ]; then
    echo "no import table in $1"
    return 1
  fi
  local dll lower found=0
  while read -r dll; do
    lower="$(tr '[:upper:]' '[:lower:]' <<<"$dll")"
    if [[ ! "$lower" =~ $VIVARN_SYSTEM_DLLS ]]; then
      echo "$dll"
      found=1
    fi
  done <<<"$dlls"
  return $found
}
