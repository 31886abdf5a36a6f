"""Sums a DevTools CPU profile (Profiler.stop's "profile": nodes, samples, timeDeltas) over the
program's frames: the time of the samples taken inside the frame function, per function that
was running (its self time), in milliseconds per frame."""

import collections


def frame_profile(profile, frame_function, frames):
    """Returns (milliseconds per frame in the frame function, [(name, milliseconds per frame),
    ...] the largest first)."""
    nodes = {node["id"]: node for node in profile["nodes"]}
    parents = {}
    for node in profile["nodes"]:
        for child in node.get("children", []):
            parents[child] = node["id"]

    def name(node_id):
        frame = nodes[node_id]["callFrame"]
        return frame["functionName"] or "(anonymous) " + frame.get("url", "")

    own = collections.Counter()
    for sample, delta in zip(profile["samples"], profile["timeDeltas"]):
        stack = []
        node_id = sample
        while node_id is not None:
            stack.append(name(node_id))
            node_id = parents.get(node_id)
        if frame_function in stack:
            own[stack[0]] += delta
    per_frame = {key: value / 1000.0 / frames for key, value in own.items()}
    ranked = sorted(per_frame.items(), key=lambda item: (-item[1], item[0]))
    return sum(per_frame.values()), ranked
