"""A JSON merge patch (RFC 7386), as --advise gives each row's change."""


def merged(target, patch):
    """The patch's objects merged in, null taking a member away."""
    if not isinstance(patch, dict):
        return patch
    result = dict(target) if isinstance(target, dict) else {}
    for name, value in patch.items():
        if value is None:
            result.pop(name, None)
        else:
            result[name] = merged(result.get(name), value)
    return result
