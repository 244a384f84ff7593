# Packages built by CPack.
