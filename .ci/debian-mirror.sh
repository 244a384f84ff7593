#!/usr/bin/env bash
# Prints the URI of the first apt source, one-line or deb822, that serves this
# machine's own release (its codename as a suite): the Debian mirror, not the
# security archive or a third-party repository. Fails when there is none.
set -eu
debian_mirror() {
  local codename files=()
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || return 1
  [ -f /etc/apt/sources.list ] && files+=(/etc/apt/sources.list)
  shopt -s nullglob
  files+=(/etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources)
  shopt -u nullglob
  [ ${#files[@]} -gt 0 ] || return 1
  awk -v want="$codename" '
    function has(list, word,   n, a, i) {
      n = split(list, a, /[ \t]+/)
      for (i = 1; i <= n; i++) if (a[i] == word) return 1
      return 0
    }
    function flush() {
      if (types != "" && has(types, "deb") && has(suites, want) && enabled != "no" && uris != "") {
        split(uris, u, /[ \t]+/); print u[1]; found = 1; exit
      }
      types = uris = suites = enabled = ""
    }
    FNR == 1 { flush(); deb822 = FILENAME ~ /\.sources$/ }
    /^[ \t]*#/ { next }
    !deb822 {
      line = $0; sub(/\[[^]]*\]/, "", line)
      n = split(line, f, /[ \t]+/); i = (f[1] == "") ? 2 : 1
      if (f[i] == "deb" && f[i + 2] == want) { print f[i + 1]; found = 1; exit }
      next
    }
    /^[ \t]*$/ { flush(); next }
    {
      key = tolower($1); val = $0; sub(/^[^:]*:[ \t]*/, "", val)
      if (key == "types:") types = val
      else if (key == "uris:") uris = val
      else if (key == "suites:") suites = val
      else if (key == "enabled:") enabled = tolower(val)
    }
    END { if (!found) flush(); if (!found) exit 1 }
  ' "${files[@]}"
}

mirror=$(debian_mirror)
echo "${mirror%/}"
