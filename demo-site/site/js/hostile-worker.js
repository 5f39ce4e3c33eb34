/* A dedicated worker of the hostile page: runs the shared attempts when told to. */
// Absolute, so that a worker made from a blob finds it too.
importScripts(location.origin + "/js/hostile-common.js");
onmessage = function (event) {
  Hostile.configure(event.data);
  Hostile.run(Hostile.common("worker"), event.data.rounds).then(function (channels) {
    postMessage(channels);
  });
};
